#include "app/runcmd/JsonReader.h"

#include <string>
#include <utility>

namespace {

class Reader {
public:
    Reader(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}

    JsonRead Read() {
        JsonRead read;
        if (!Decode()) return Fail(read, JsonError::kBadUtf8);
        if (m_at < m_text.size() && m_text[m_at] == 0xFEFF) ++m_at;  // a byte-order mark: no column
        SkipBlanks();
        if (!Value(read.root, 0)) return Fail(read, m_error);
        SkipBlanks();
        if (m_at < m_text.size()) return Fail(read, JsonError::kTrailing);
        return read;
    }

private:
    JsonRead& Fail(JsonRead& read, JsonError error) const {
        read.error = error;
        read.line = m_errorLine != 0 ? m_errorLine : m_line;
        read.column = m_errorLine != 0 ? m_errorColumn : m_column;
        return read;
    }

    // UTF-8 into UTF-32, one unit per character; on a bad sequence the
    // position is where it starts.
    bool Decode() {
        std::size_t i = 0;
        int line = 1, column = 1;
        while (i < m_size) {
            const unsigned char lead = m_data[i];
            int more = 0;
            char32_t ch = 0;
            if (lead < 0x80) {
                ch = lead;
            } else if (lead >= 0xC2 && lead <= 0xDF) {
                more = 1, ch = lead & 0x1F;
            } else if (lead >= 0xE0 && lead <= 0xEF) {
                more = 2, ch = lead & 0x0F;
            } else if (lead >= 0xF0 && lead <= 0xF4) {
                more = 3, ch = lead & 0x07;
            } else {
                return BadByte(line, column);
            }
            for (int k = 1; k <= more; ++k) {
                if (i + k >= m_size || (m_data[i + k] & 0xC0) != 0x80) return BadByte(line, column);
                ch = (ch << 6) | (m_data[i + k] & 0x3F);
            }
            // Overlong forms, surrogates and values past U+10FFFF.
            if ((more == 2 && ch < 0x800) || (more == 3 && (ch < 0x10000 || ch > 0x10FFFF)) ||
                (ch >= 0xD800 && ch <= 0xDFFF))
                return BadByte(line, column);
            m_text.push_back(ch);
            if (ch == u'\n') {
                ++line, column = 1;
            } else {
                ++column;
            }
            i += more + 1;
        }
        return true;
    }
    bool BadByte(int line, int column) {
        m_line = line, m_column = column;
        return false;
    }

    char32_t Peek() const { return m_at < m_text.size() ? m_text[m_at] : 0; }
    bool AtEnd() const { return m_at >= m_text.size(); }
    void Advance() {
        if (m_text[m_at++] == u'\n') {
            ++m_line, m_column = 1;
        } else {
            ++m_column;
        }
    }
    void SkipBlanks() {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\r' || Peek() == '\n')) Advance();
    }
    bool Error(JsonError error) {
        m_error = AtEnd() && error == JsonError::kUnexpected ? JsonError::kUnexpectedEnd : error;
        return false;
    }
    bool Expect(char32_t ch) {
        if (Peek() != ch || AtEnd()) return Error(JsonError::kUnexpected);
        Advance();
        return true;
    }
    bool Word(const char* word) {
        for (; *word != 0; ++word) {
            if (!Expect(static_cast<char32_t>(*word))) return false;
        }
        return true;
    }

    bool Value(JsonValue& value, int depth) {
        value.line = m_line, value.column = m_column;
        switch (Peek()) {
            case '{':
                value.kind = JsonValue::Kind::kObject;
                return depth < kMaxJsonDepth ? Object(value, depth) : Error(JsonError::kTooDeep);
            case '[':
                value.kind = JsonValue::Kind::kArray;
                return depth < kMaxJsonDepth ? Array(value, depth) : Error(JsonError::kTooDeep);
            case '"':
                value.kind = JsonValue::Kind::kString;
                return String(value.text);
            case 't':
                value.kind = JsonValue::Kind::kBool, value.boolean = true;
                return Word("true");
            case 'f':
                value.kind = JsonValue::Kind::kBool;
                return Word("false");
            case 'n':
                return Word("null");
            default:
                if (Peek() == '-' || (Peek() >= '0' && Peek() <= '9')) {
                    value.kind = JsonValue::Kind::kNumber;
                    return Number(value.text);
                }
                return Error(JsonError::kUnexpected);
        }
    }

    bool Object(JsonValue& value, int depth) {
        Advance();
        SkipBlanks();
        if (Peek() == '}') {
            Advance();
            return true;
        }
        for (;;) {
            JsonMember member;
            member.line = m_line, member.column = m_column;
            if (Peek() != '"') return Error(JsonError::kUnexpected);
            if (!String(member.name)) return false;
            for (const JsonMember& other : value.members) {
                if (other.name == member.name) {
                    m_errorLine = member.line, m_errorColumn = member.column;
                    return Error(JsonError::kDuplicateMember);
                }
            }
            SkipBlanks();
            if (!Expect(':')) return false;
            SkipBlanks();
            if (!Value(member.value, depth + 1)) return false;
            value.members.push_back(std::move(member));
            SkipBlanks();
            if (Peek() == ',' && !AtEnd()) {
                Advance();
                SkipBlanks();
                continue;
            }
            return Expect('}');
        }
    }

    bool Array(JsonValue& value, int depth) {
        Advance();
        SkipBlanks();
        if (Peek() == ']') {
            Advance();
            return true;
        }
        for (;;) {
            value.items.emplace_back();
            if (!Value(value.items.back(), depth + 1)) return false;
            SkipBlanks();
            if (Peek() == ',' && !AtEnd()) {
                Advance();
                SkipBlanks();
                continue;
            }
            return Expect(']');
        }
    }

    bool Hex4(unsigned& unit) {
        unit = 0;
        for (int k = 0; k < 4; ++k) {
            const char32_t ch = Peek();
            unsigned digit = 0;
            if (ch >= '0' && ch <= '9') {
                digit = ch - '0';
            } else if (ch >= 'a' && ch <= 'f') {
                digit = ch - 'a' + 10;
            } else if (ch >= 'A' && ch <= 'F') {
                digit = ch - 'A' + 10;
            } else {
                return Error(AtEnd() ? JsonError::kUnexpectedEnd : JsonError::kBadString);
            }
            unit = unit * 16 + digit;
            Advance();
        }
        return true;
    }

    bool String(CStringW& text) {
        Advance();  // the opening quote
        text.clear();
        for (;;) {
            if (AtEnd()) return Error(JsonError::kUnexpectedEnd);
            const char32_t ch = Peek();
            if (ch == '"') {
                Advance();
                return true;
            }
            if (ch < 0x20) return Error(JsonError::kBadString);
            if (ch != '\\') {
                if (ch >= 0x10000) {
                    text += static_cast<char16_t>(0xD800 + ((ch - 0x10000) >> 10));
                    text += static_cast<char16_t>(0xDC00 + ((ch - 0x10000) & 0x3FF));
                } else {
                    text += static_cast<char16_t>(ch);
                }
                Advance();
                continue;
            }
            Advance();
            const char32_t escape = Peek();
            const char* const simple = "\"\\/bfnrt";
            const char* const meaning = "\"\\/\b\f\n\r\t";
            bool taken = false;
            for (int k = 0; simple[k] != 0; ++k) {
                if (escape == static_cast<char32_t>(simple[k])) {
                    text += static_cast<char16_t>(meaning[k]);
                    Advance();
                    taken = true;
                    break;
                }
            }
            if (taken) continue;
            if (escape != 'u') return Error(AtEnd() ? JsonError::kUnexpectedEnd : JsonError::kBadString);
            Advance();
            unsigned unit = 0;
            if (!Hex4(unit)) return false;
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                // A high surrogate must be followed by its low half.
                unsigned low = 0;
                if (Peek() != '\\') return Error(JsonError::kBadString);
                Advance();
                if (Peek() != 'u') return Error(JsonError::kBadString);
                Advance();
                if (!Hex4(low)) return false;
                if (low < 0xDC00 || low > 0xDFFF) return Error(JsonError::kBadString);
                text += static_cast<char16_t>(unit);
                text += static_cast<char16_t>(low);
            } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
                return Error(JsonError::kBadString);
            } else {
                text += static_cast<char16_t>(unit);
            }
        }
    }

    bool Digits(CStringW& text) {
        if (Peek() < '0' || Peek() > '9' || AtEnd()) return Error(JsonError::kBadNumber);
        while (!AtEnd() && Peek() >= '0' && Peek() <= '9') {
            text += static_cast<char16_t>(Peek());
            Advance();
        }
        return true;
    }

    // A number JSON does not allow is refused where it starts.
    bool Number(CStringW& text) {
        const int line = m_line, column = m_column;
        if (NumberText(text)) return true;
        if (m_error == JsonError::kBadNumber) m_errorLine = line, m_errorColumn = column;
        return false;
    }
    bool NumberText(CStringW& text) {
        if (Peek() == '-') {
            text += u'-';
            Advance();
        }
        const bool leadingZero = Peek() == '0';
        if (!Digits(text)) return false;
        if (leadingZero && text.size() > (text[0] == u'-' ? 2u : 1u)) return Error(JsonError::kBadNumber);
        if (Peek() == '.' && !AtEnd()) {
            text += u'.';
            Advance();
            if (!Digits(text)) return false;
        }
        if ((Peek() == 'e' || Peek() == 'E') && !AtEnd()) {
            text += u'e';
            Advance();
            if (Peek() == '+' || Peek() == '-') {
                text += static_cast<char16_t>(Peek());
                Advance();
            }
            if (!Digits(text)) return false;
        }
        return true;
    }

    const unsigned char* m_data;
    std::size_t m_size;
    std::u32string m_text;
    std::size_t m_at = 0;
    int m_line = 1;
    int m_column = 1;
    JsonError m_error = JsonError::kNone;
    // Set for an error that belongs to an earlier position than the reader's.
    int m_errorLine = 0;
    int m_errorColumn = 0;
};

}  // namespace

JsonRead ReadJson(const unsigned char* data, std::size_t size) { return Reader(data, size).Read(); }

const JsonMember* FindMember(const JsonValue& object, const char16_t* name) {
    for (const JsonMember& member : object.members) {
        if (member.name == name) return &member;
    }
    return nullptr;
}
