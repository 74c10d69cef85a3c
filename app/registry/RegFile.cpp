#include "app/registry/RegFile.h"

#include <utility>

#include "app/registry/RegistryAccess.h"

namespace {

constexpr const char16_t* kHeader5 = u"Windows Registry Editor Version 5.00";
constexpr const char16_t* kHeader4 = u"REGEDIT4";
// Hex lists are wrapped so that no line, its closing backslash included,
// is longer than this.
constexpr std::size_t kHexLineWidth = 79;

bool IsBlank(char16_t unit) { return unit == u' ' || unit == u'\t'; }

int HexDigit(char16_t unit) {
    if (unit >= u'0' && unit <= u'9') return unit - u'0';
    if (unit >= u'a' && unit <= u'f') return unit - u'a' + 10;
    if (unit >= u'A' && unit <= u'F') return unit - u'A' + 10;
    return -1;
}

void AppendUtf16(std::vector<unsigned char>& bytes, const CStringW& text) {
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
}

// A line of the file: its text without the line end, and its number.
struct Line {
    CStringW text;
    int number;
};

// Reads one file's lines and values; the first error stops it.
class Parser {
public:
    Parser(std::vector<Line> lines, bool ansi) : m_lines(std::move(lines)), m_ansi(ansi) {}

    RegFileParse Run() {
        RegFileParse result;
        // Line 0 is the header, checked by the caller.
        for (m_index = 1; m_index < m_lines.size() && m_error == RegFileError::kNone; ++m_index)
            ParseLine(result);
        if (m_error != RegFileError::kNone) {
            result.keys.clear();
            result.error = m_error;
            result.errorLine = m_errorLine;
        }
        return result;
    }

private:
    bool Fail(RegFileError error) {
        if (m_error == RegFileError::kNone) {
            m_error = error;
            m_errorLine = m_lines[m_index].number;
        }
        return false;
    }
    bool IsLastLine() const { return m_index + 1 >= m_lines.size(); }
    // A line that stops short: cut off when nothing follows it.
    bool FailShort(RegFileError error) { return Fail(IsLastLine() ? RegFileError::kCutOff : error); }

    void ParseLine(RegFileParse& result) {
        const CStringW& text = m_lines[m_index].text;
        std::size_t at = 0;
        while (at < text.size() && IsBlank(text[at])) ++at;
        if (at == text.size() || text[at] == u';') return;
        if (text[at] == u'[') {
            ParseKeyLine(result, text, at + 1);
            return;
        }
        if (text[at] == u'"' || text[at] == u'@') {
            if (result.keys.empty()) {
                Fail(RegFileError::kValueOutsideKey);
                return;
            }
            RegFileValue value;
            value.line = m_lines[m_index].number;
            if (ParseValueLine(text, at, value)) result.keys.back().values.push_back(std::move(value));
            return;
        }
        Fail(RegFileError::kBadLine);
    }

    void ParseKeyLine(RegFileParse& result, const CStringW& text, std::size_t at) {
        std::size_t end = text.size();
        while (end > at && IsBlank(text[end - 1])) --end;
        if (end == at || text[end - 1] != u']') {
            FailShort(RegFileError::kBadKeyLine);
            return;
        }
        RegFileKey key;
        key.line = m_lines[m_index].number;
        if (text[at] == u'-') {
            key.deletion = true;
            ++at;
        }
        key.path = text.substr(at, end - 1 - at);
        if (key.path.empty()) {
            Fail(RegFileError::kBadKeyLine);
            return;
        }
        result.keys.push_back(std::move(key));
    }

    // A quoted text starting after its opening quote at `at`; `at` ends
    // after the closing quote.
    bool ParseQuoted(const CStringW& text, std::size_t& at, CStringW& out) {
        while (at < text.size()) {
            const char16_t unit = text[at++];
            if (unit == u'"') return true;
            if (unit != u'\\') {
                out.push_back(unit);
                continue;
            }
            if (at == text.size()) break;
            const char16_t escaped = text[at++];
            switch (escaped) {
                case u'\\':
                case u'"':
                    out.push_back(escaped);
                    break;
                // Line breaks as some registry editors write them.
                case u'n':
                    out.push_back(u'\n');
                    break;
                case u'r':
                    out.push_back(u'\r');
                    break;
                default:
                    return Fail(RegFileError::kBadEscape);
            }
        }
        return FailShort(RegFileError::kBadString);
    }

    bool RestIsBlank(const CStringW& text, std::size_t at) {
        while (at < text.size() && IsBlank(text[at])) ++at;
        return at == text.size();
    }

    bool ParseValueLine(const CStringW& text, std::size_t at, RegFileValue& value) {
        if (text[at] == u'@') {
            ++at;
        } else {
            ++at;
            if (!ParseQuoted(text, at, value.name)) return false;
        }
        while (at < text.size() && IsBlank(text[at])) ++at;
        if (at == text.size()) return FailShort(RegFileError::kBadLine);
        if (text[at++] != u'=') return Fail(RegFileError::kBadLine);
        while (at < text.size() && IsBlank(text[at])) ++at;
        if (at == text.size()) return FailShort(RegFileError::kBadLine);

        if (text[at] == u'-') {
            value.deletion = true;
            return RestIsBlank(text, at + 1) || Fail(RegFileError::kBadLine);
        }
        if (text[at] == u'"') {
            ++at;
            CStringW data;
            if (!ParseQuoted(text, at, data)) return false;
            if (!RestIsBlank(text, at)) return Fail(RegFileError::kBadLine);
            value.type = kRegSz;
            AppendUtf16(value.data, data);
            AppendUtf16(value.data, CStringW(1, u'\0'));
            return true;
        }
        if (text.compare(at, 6, u"dword:") == 0) return ParseDword(text, at + 6, value);
        if (text.compare(at, 4, u"hex:") == 0) {
            value.type = kRegBinary;
            return ParseHex(at + 4, value);
        }
        if (text.compare(at, 4, u"hex(") == 0) {
            at += 4;
            std::uint32_t type = 0;
            int digits = 0;
            for (; at < text.size() && HexDigit(text[at]) >= 0; ++at, ++digits)
                type = type * 16 + static_cast<std::uint32_t>(HexDigit(text[at]));
            if (digits <= 8 && at == text.size()) return FailShort(RegFileError::kBadType);
            if (digits == 0 || digits > 8 || text.compare(at, 2, u"):") != 0)
                return Fail(RegFileError::kBadType);
            value.type = type;
            return ParseHex(at + 2, value);
        }
        return Fail(RegFileError::kBadLine);
    }

    bool ParseDword(const CStringW& text, std::size_t at, RegFileValue& value) {
        std::uint32_t number = 0;
        int digits = 0;
        for (; at < text.size() && HexDigit(text[at]) >= 0; ++at, ++digits)
            number = number * 16 + static_cast<std::uint32_t>(HexDigit(text[at]));
        if (digits == 0 && at == text.size()) return FailShort(RegFileError::kBadDword);
        if (digits == 0 || digits > 8 || !RestIsBlank(text, at)) return Fail(RegFileError::kBadDword);
        value.type = kRegDword;
        for (int shift = 0; shift < 32; shift += 8)
            value.data.push_back(static_cast<unsigned char>(number >> shift));
        return true;
    }

    // Comma-separated pairs of hex digits from `at` of the current line,
    // continued on the next line after a trailing backslash.
    bool ParseHex(std::size_t at, RegFileValue& value) {
        bool expectItem = true;  // at the start or after a comma
        for (;;) {
            const CStringW& text = m_lines[m_index].text;
            for (;;) {
                while (at < text.size() && IsBlank(text[at])) ++at;
                if (at == text.size()) {
                    // A list ends on a line of its own that does not end in
                    // a comma; an empty list ends at once.
                    if (expectItem && !value.data.empty()) return FailShort(RegFileError::kBadHex);
                    return FinishText(value);
                }
                if (text[at] == u'\\') {
                    if (!RestIsBlank(text, at + 1)) return Fail(RegFileError::kBadHex);
                    break;
                }
                if (!expectItem) {
                    if (text[at] != u',') return Fail(RegFileError::kBadHex);
                    ++at;
                    expectItem = true;
                    continue;
                }
                const int high = HexDigit(text[at]);
                if (high < 0) return Fail(RegFileError::kBadHex);
                ++at;
                int byte = high;
                if (at < text.size() && HexDigit(text[at]) >= 0) byte = byte * 16 + HexDigit(text[at++]);
                value.data.push_back(static_cast<unsigned char>(byte));
                expectItem = false;
            }
            // The backslash: the list goes on with the next line.
            if (IsLastLine()) return Fail(RegFileError::kCutOff);
            ++m_index;
            at = 0;
        }
    }

    // Text types of a REGEDIT4 file are code page 936 bytes: stored as
    // UTF-16, as the registry keeps them.
    bool FinishText(RegFileValue& value) {
        if (!m_ansi || (value.type != kRegSz && value.type != kRegExpandSz && value.type != kRegMultiSz))
            return true;
        std::vector<unsigned char> wide;
        std::size_t start = 0;
        for (std::size_t i = 0; i <= value.data.size(); ++i) {
            if (i < value.data.size() && value.data[i] != 0) continue;
            AppendUtf16(wide, velmora::WideFrom936(reinterpret_cast<const char*>(value.data.data()) + start,
                                                   i - start));
            if (i < value.data.size()) AppendUtf16(wide, CStringW(1, u'\0'));
            start = i + 1;
        }
        value.data = std::move(wide);
        return true;
    }

    std::vector<Line> m_lines;
    bool m_ansi;
    std::size_t m_index = 0;
    RegFileError m_error = RegFileError::kNone;
    int m_errorLine = 0;
};

std::vector<Line> SplitLines(const CStringW& text) {
    std::vector<Line> lines;
    CStringW current;
    int number = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit != u'\r' && unit != u'\n') {
            current.push_back(unit);
            continue;
        }
        if (unit == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        lines.push_back({std::move(current), number++});
        current.clear();
    }
    // The last line, or the empty one after a final line end, which is no
    // line of its own.
    if (!current.empty()) lines.push_back({std::move(current), number});
    return lines;
}

CStringW Escaped(const CStringW& text) {
    CStringW out;
    for (const char16_t unit : text) {
        if (unit == u'\\' || unit == u'"') out.push_back(u'\\');
        out.push_back(unit);
    }
    return out;
}

// A value name as the file writes it: escaped, and its line breaks as \r
// and \n, since a name, unlike data, has no hex form and a bare line break
// would end the line.
CStringW EscapedName(const CStringW& name) {
    CStringW out;
    for (const char16_t unit : Escaped(name)) {
        if (unit == u'\r')
            out += u"\\r";
        else if (unit == u'\n')
            out += u"\\n";
        else
            out.push_back(unit);
    }
    return out;
}

// The text of REG_SZ data when a quoted string gives the same bytes back:
// an even size, one terminating zero unit at the end and nowhere else, no
// line break or other control character.
bool QuotableText(const std::vector<unsigned char>& data, CStringW* pText) {
    if (data.size() < 2 || data.size() % 2 != 0) return false;
    CStringW text;
    for (std::size_t i = 0; i + 2 < data.size(); i += 2) {
        const auto unit = static_cast<char16_t>(data[i] | data[i + 1] << 8);
        if (unit < 0x20 || unit == 0x7F) return false;
        text.push_back(unit);
    }
    if (data[data.size() - 2] != 0 || data[data.size() - 1] != 0) return false;
    *pText = std::move(text);
    return true;
}

const char16_t kHexDigits[] = u"0123456789abcdef";

CStringW HexOf(std::uint32_t number, int minDigits) {
    CStringW digits;
    do {
        digits.insert(digits.begin(), kHexDigits[number & 0xF]);
        number >>= 4;
    } while (number != 0);
    while (static_cast<int>(digits.size()) < minDigits) digits.insert(digits.begin(), u'0');
    return digits;
}

void AppendValue(CStringW& out, const RegFileValue& value) {
    CStringW line = value.name.empty() ? CStringW(u"@") : u"\"" + EscapedName(value.name) + u"\"";
    line += u"=";
    if (value.deletion) {
        out += line + u"-\r\n";
        return;
    }
    CStringW text;
    if (value.type == kRegSz && QuotableText(value.data, &text)) {
        out += line + u"\"" + Escaped(text) + u"\"\r\n";
        return;
    }
    if (value.type == kRegDword && value.data.size() == 4) {
        const std::uint32_t number = value.data[0] | value.data[1] << 8 | value.data[2] << 16 |
                                     static_cast<std::uint32_t>(value.data[3]) << 24;
        out += line + u"dword:" + HexOf(number, 8) + u"\r\n";
        return;
    }
    line += value.type == kRegBinary ? CStringW(u"hex:") : u"hex(" + HexOf(value.type, 1) + u"):";
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        CStringW item = HexOf(value.data[i], 2);
        if (i + 1 < value.data.size()) item += u",";
        // Wrapped after a comma, with the backslash inside the width; the
        // first item stays on the name's line whatever its length.
        if (i > 0 && line.size() + item.size() + 1 > kHexLineWidth) {
            out += line + u"\\\r\n";
            line = u"  ";
        }
        line += item;
    }
    out += line + u"\r\n";
}

}  // namespace

RegFileParse ParseRegFile(const unsigned char* data, std::size_t size) {
    RegFileParse header;
    header.error = RegFileError::kBadHeader;
    header.errorLine = 1;
    if (data == nullptr) return header;

    CStringW text;
    bool ansi = false;
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        for (std::size_t i = 2; i + 1 < size; i += 2)
            text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    } else if (size >= 8 && CStringW(data, data + 8) == kHeader4) {
        ansi = true;
        text = velmora::WideFrom936(reinterpret_cast<const char*>(data), size);
    } else {
        return header;
    }
    std::vector<Line> lines = SplitLines(text);
    if (lines.empty()) return header;
    CStringW first = lines[0].text;
    first.TrimRight(u" \t");
    if (first != (ansi ? kHeader4 : kHeader5)) return header;
    RegFileParse result = Parser(std::move(lines), ansi).Run();
    // Half a code unit at the end: the file was cut.
    if (result.ok() && !ansi && size % 2 != 0) {
        result.keys.clear();
        result.error = RegFileError::kCutOff;
        result.errorLine = SplitLines(text).back().number;
    }
    return result;
}

std::vector<unsigned char> WriteRegFile(const std::vector<RegFileKey>& keys) {
    CStringW text = kHeader5;
    text += u"\r\n\r\n";
    for (const RegFileKey& key : keys) {
        text += key.deletion ? u"[-" + key.path + u"]\r\n" : u"[" + key.path + u"]\r\n";
        for (const RegFileValue& value : key.values) AppendValue(text, value);
        text += u"\r\n";
    }
    std::vector<unsigned char> bytes{0xFF, 0xFE};
    AppendUtf16(bytes, text);
    return bytes;
}

const char16_t* RegFileRootName(RegFileRoot root) {
    return root == RegFileRoot::kLocalMachine ? u"HKEY_LOCAL_MACHINE" : u"HKEY_CURRENT_USER";
}

bool ParseRegFileRoot(const CStringW& name, RegFileRoot* pRoot) {
    const auto is = [&](const char16_t* candidate) { return velmora::CompareNoCase(name, candidate) == 0; };
    if (is(u"HKEY_LOCAL_MACHINE") || is(u"HKLM")) {
        *pRoot = RegFileRoot::kLocalMachine;
        return true;
    }
    if (is(u"HKEY_CURRENT_USER") || is(u"HKCU")) {
        *pRoot = RegFileRoot::kCurrentUser;
        return true;
    }
    return false;
}
