#include "util/codec/fixed_decimal.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace velmora {
namespace {

// A non-negative integer in base 10^9, least significant limb first. Big
// enough for any double: m * 5^1074 has under 800 decimal digits.
class BigDecimal {
public:
    explicit BigDecimal(std::uint64_t value) {
        do {
            m_limbs.push_back(static_cast<std::uint32_t>(value % kBase));
            value /= kBase;
        } while (value != 0);
    }

    // factor must keep limb * factor + carry within 64 bits.
    void Multiply(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (auto& limb : m_limbs) {
            const std::uint64_t product = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(product % kBase);
            carry = product / kBase;
        }
        while (carry != 0) {
            m_limbs.push_back(static_cast<std::uint32_t>(carry % kBase));
            carry /= kBase;
        }
    }

    void MultiplyByPowerOf2(int n) {
        for (; n >= 30; n -= 30) Multiply(1u << 30);
        if (n > 0) Multiply(1u << n);
    }

    void MultiplyByPowerOf5(int n) {
        constexpr std::uint32_t kFive13 = 1220703125;  // 5^13, the largest below 2^31
        for (; n >= 13; n -= 13) Multiply(kFive13);
        std::uint32_t rest = 1;
        while (n-- > 0) rest *= 5;
        if (rest > 1) Multiply(rest);
    }

    std::string ToDigits() const {
        std::string digits = std::to_string(m_limbs.back());
        for (std::size_t i = m_limbs.size() - 1; i-- > 0;) {
            const std::string limb = std::to_string(m_limbs[i]);
            digits.append(9 - limb.size(), '0');
            digits += limb;
        }
        return digits;
    }

private:
    static constexpr std::uint32_t kBase = 1000000000;
    std::vector<std::uint32_t> m_limbs;
};

// Drops `count` digits from the right of `digits`, rounding the rest up when
// the first digit dropped is 5 or more. A carry out of the top digit adds a
// leading '1'. Dropping every digit leaves "0" (or "1" when it rounds up).
void DropDigitsRoundingUp(std::string& digits, std::size_t count) {
    if (count == 0) return;
    if (count > digits.size()) {
        digits.assign(1, '0');  // the first dropped digit is a leading zero
        return;
    }
    const bool up = digits[digits.size() - count] >= '5';
    digits.resize(digits.size() - count);
    if (digits.empty()) digits.assign(1, '0');
    if (!up) return;
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) {
        digits.insert(digits.begin(), '1');
    } else {
        ++digits[i - 1];
    }
}

}  // namespace

std::string FormatFixed2(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    const bool negative = (bits >> 63) != 0;
    const int biasedExponent = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);

    if (biasedExponent == 0x7FF) {
        if (mantissa != 0) return "nan";
        return negative ? "-inf" : "inf";
    }

    // value = mantissa * 2^exponent exactly.
    int exponent;
    if (biasedExponent == 0) {
        exponent = -1074;
    } else {
        mantissa |= std::uint64_t{1} << 52;
        exponent = biasedExponent - 1075;
    }
    while (mantissa != 0 && (mantissa & 1) == 0 && exponent < 0) {
        mantissa >>= 1;
        ++exponent;
    }

    // Exact decimal form: value = digits * 10^power, since
    // m * 2^-k = m * 5^k * 10^-k.
    BigDecimal number(mantissa);
    int power = 0;
    if (exponent >= 0) {
        number.MultiplyByPowerOf2(exponent);
    } else {
        number.MultiplyByPowerOf5(-exponent);
        power = exponent;
    }
    std::string digits = mantissa == 0 ? std::string("0") : number.ToDigits();

    // First rounding: 17 significant digits.
    if (digits.size() > 17) {
        const std::size_t dropped = digits.size() - 17;
        DropDigitsRoundingUp(digits, dropped);
        power += static_cast<int>(dropped);
    }
    // Second rounding: whole hundredths.
    if (power < -2) {
        DropDigitsRoundingUp(digits, static_cast<std::size_t>(-2 - power));
    } else {
        digits.append(static_cast<std::size_t>(power + 2), '0');
    }
    // digits now counts hundredths.
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    std::string text;
    if (negative) text += '-';
    text.append(digits, 0, digits.size() - 2);
    text += '.';
    text.append(digits, digits.size() - 2, 2);
    return text;
}

}  // namespace velmora
