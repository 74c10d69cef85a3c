#include "app/cli/JsonText.h"

namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// \uXXXX with lower-case hex digits.
void AppendUnicodeEscape(CStringW& out, char16_t unit) {
    static const char16_t kHex[] = u"0123456789abcdef";
    out += u"\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

CStringW JsonString(const CStringW& text) {
    CStringW out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        switch (unit) {
            case u'"':
                out += u"\\\"";
                continue;
            case u'\\':
                out += u"\\\\";
                continue;
            case u'\n':
                out += u"\\n";
                continue;
            case u'\r':
                out += u"\\r";
                continue;
            case u'\t':
                out += u"\\t";
                continue;
            case u'\b':
                out += u"\\b";
                continue;
            case u'\f':
                out += u"\\f";
                continue;
            default:
                break;
        }
        if (unit < 0x20 || unit == 0x7F) {
            AppendUnicodeEscape(out, unit);
        } else if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            out += unit;
            out += text[++i];
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUnicodeEscape(out, unit);
        } else {
            out += unit;
        }
    }
    out += u'"';
    return out;
}

std::string Utf8FromUtf16(const CStringW& text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            const char32_t code =
                0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            AppendUtf8(out, code);
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}
