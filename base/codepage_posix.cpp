#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "base/codepage.h"
#include "base/utf8_shape.h"

namespace velmora {
namespace {

// GBK is the ANSI code page of the systems this library serves.
constexpr const char* kAnsiCharset = "GBK";

// Short ASCII runs inside non-ASCII text are handed to iconv with their
// neighbours: one iconv call costs more than converting a few bytes.
constexpr std::size_t kMinCopiedAsciiRun = 16;

class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (IsValid()) iconv_close(m_cd);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    bool IsValid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return m_cd; }

private:
    iconv_t m_cd;
};

// iconv converts between GBK and wide characters (UCS-4); the UTF-8 side
// is done here, one fixed algorithm and cheaper than iconv's own UTF-8 step.
// iconv descriptors carry conversion state, so each thread keeps its own
// pair, opened on first use (opening one costs far more than a short text).
struct Converters {
    IconvHandle ansiToWide{"WCHAR_T", kAnsiCharset};
    IconvHandle wideToAnsi{kAnsiCharset, "WCHAR_T"};
};

// Wide characters converted per step: small enough to stay in the cache.
constexpr std::size_t kWideChunk = 2048;

Converters& ThreadConverters() {
    thread_local Converters converters;
    return converters;
}

std::size_t AsciiRunEnd(const unsigned char* s, std::size_t pos, std::size_t n) {
    while (pos + 8 <= n) {
        std::uint64_t word;
        std::memcpy(&word, s + pos, sizeof word);
        if (word & 0x8080808080808080ull) break;
        pos += 8;
    }
    while (pos < n && s[pos] < 0x80) ++pos;
    return pos;
}

// The first character boundary at or after pos whose byte is below 0x80.
// Eight bytes of 0x80 or above are whole characters in both encodings (in
// GBK four lead and trail pairs, since pos is a boundary), so they are
// skipped a word at a time.
std::size_t NonAsciiRunEnd(const unsigned char* s, std::size_t pos, std::size_t n, bool utf8) {
    for (;;) {
        while (pos + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, s + pos, sizeof word);
            if ((word & 0x8080808080808080ull) != 0x8080808080808080ull) break;
            pos += 8;
        }
        if (pos >= n) return n;
        if (s[pos] < 0x80) return pos;
        pos += utf8 ? 1 : 2;
    }
}

// Output of one conversion, grown on demand.
class OutputBuffer {
public:
    explicit OutputBuffer(std::size_t room) : m_room(room), m_data(m_result.GetBuffer(Cap(room))) {}

    char* End() { return m_data + m_written; }
    std::size_t Left() const { return m_room - m_written; }
    void Advance(std::size_t count) { m_written += count; }
    void Append(const unsigned char* bytes, std::size_t count) {
        Reserve(count);
        std::memcpy(End(), bytes, count);
        m_written += count;
    }
    void Reserve(std::size_t count) {
        if (Left() >= count) return;
        m_result.ReleaseBuffer(static_cast<int>(m_written));
        m_room = m_written + count > m_room * 2 ? m_written + count : m_room * 2;
        m_data = m_result.GetBuffer(Cap(m_room));
    }
    CString Finish() {
        m_result.ReleaseBuffer(static_cast<int>(m_written));
        return m_result;
    }

private:
    static int Cap(std::size_t room) {
        if (room > 0x7FFFFFF0u) throw CStringError(kStringErrorOutOfMemory);
        return static_cast<int>(room);
    }
    CString m_result;
    std::size_t m_room;
    std::size_t m_written = 0;
    char* m_data;
};

// Appends the UTF-8 form of wide characters.
void AppendUtf8(const wchar_t* wide, std::size_t count, OutputBuffer& out) {
    out.Reserve(count * 4);
    auto* o = reinterpret_cast<unsigned char*>(out.End());
    const unsigned char* start = o;
    for (std::size_t k = 0; k < count; ++k) {
        const auto c = static_cast<std::uint32_t>(wide[k]);
        if (c < 0x80) {
            *o++ = static_cast<unsigned char>(c);
        } else if (c < 0x800) {
            *o++ = static_cast<unsigned char>(0xC0 | (c >> 6));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *o++ = static_cast<unsigned char>(0xE0 | (c >> 12));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else if (c < 0x110000) {
            *o++ = static_cast<unsigned char>(0xF0 | (c >> 18));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            *o++ = '?';
        }
    }
    out.Advance(static_cast<std::size_t>(o - start));
}

// Decodes the sequence of `length` bytes at s that UTF8CharLength accepted.
// Encoded surrogates and values past U+10FFFF have the right shape but are
// no characters; they decode as '?', like a character GBK lacks.
inline wchar_t DecodeUtf8(const unsigned char* s, int length) {
    std::uint32_t v;
    switch (length) {
        case 2:
            return static_cast<wchar_t>(((s[0] & 0x1F) << 6) | (s[1] & 0x3F));
        case 3:
            v = ((s[0] & 0x0F) << 12) | ((s[1] & 0x3F) << 6) | (s[2] & 0x3F);
            return v >= 0xD800 && v <= 0xDFFF ? L'?' : static_cast<wchar_t>(v);
        default:
            v = ((s[0] & 0x07) << 18) | ((s[1] & 0x3F) << 12) | ((s[2] & 0x3F) << 6) | (s[3] & 0x3F);
            return v >= 0x110000 ? L'?' : static_cast<wchar_t>(v);
    }
}

// Converts wide characters to GBK, writing '?' for any it cannot represent.
bool AppendAnsi(iconv_t cd, wchar_t* wide, std::size_t count, OutputBuffer& out) {
    char* in = reinterpret_cast<char*>(wide);
    std::size_t inLeft = count * sizeof(wchar_t);
    while (inLeft > 0) {
        out.Reserve(inLeft / sizeof(wchar_t) * 2 + 2);
        char* o = out.End();
        std::size_t outLeft = out.Left();
        const std::size_t rc = iconv(cd, &in, &inLeft, &o, &outLeft);
        out.Advance(out.Left() - outLeft);
        if (rc != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        if (errno != EILSEQ && errno != EINVAL) return false;
        const unsigned char substitute = '?';
        out.Append(&substitute, 1);
        in += sizeof(wchar_t);
        inLeft -= sizeof(wchar_t);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return true;
}

enum class SegmentResult { kConverted, kNotUtf8, kFailed };

// UTF-8 bytes s[0, n) to GBK, a chunk of wide characters at a time. The
// shape test runs in the same pass, so the text is read once.
SegmentResult Utf8SegmentToAnsi(iconv_t cd, const unsigned char* s, std::size_t n, OutputBuffer& out) {
    wchar_t wide[kWideChunk];
    std::size_t pos = 0;
    while (pos < n) {
        std::size_t count = 0;
        while (count < kWideChunk && pos < n) {
            const unsigned char lead = s[pos];
            if (lead < 0x80) {
                wide[count++] = static_cast<wchar_t>(lead);
                ++pos;
                continue;
            }
            // Three-byte characters (CJK) are decoded inline; the rule is
            // UTF8CharLength's for lead bytes 0xE1-0xEF.
            if (lead >= 0xE1 && lead <= 0xEF && (s[pos + 1] & 0xC0) == 0x80 && (s[pos + 2] & 0xC0) == 0x80) {
                wide[count++] = DecodeUtf8(s + pos, 3);
                pos += 3;
                continue;
            }
            const int length = UTF8CharLength(reinterpret_cast<const char*>(s + pos));
            if (length < 0) return SegmentResult::kNotUtf8;
            wide[count++] = DecodeUtf8(s + pos, length);
            pos += static_cast<std::size_t>(length);
        }
        if (!AppendAnsi(cd, wide, count, out)) return SegmentResult::kFailed;
    }
    return SegmentResult::kConverted;
}

// GBK bytes s[0, n) to UTF-8, a chunk of wide characters at a time; a byte
// sequence GBK does not allow becomes '?' and the walk goes on after its
// first byte.
bool AnsiSegmentToUtf8(iconv_t cd, const unsigned char* s, std::size_t n, OutputBuffer& out) {
    wchar_t wide[kWideChunk];
    char* in = const_cast<char*>(reinterpret_cast<const char*>(s));
    std::size_t inLeft = n;
    while (inLeft > 0) {
        char* o = reinterpret_cast<char*>(wide);
        std::size_t outLeft = sizeof wide;
        const std::size_t rc = iconv(cd, &in, &inLeft, &o, &outLeft);
        AppendUtf8(wide, (sizeof wide - outLeft) / sizeof(wchar_t), out);
        if (rc != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        if (errno != EILSEQ && errno != EINVAL) return false;
        const unsigned char substitute = '?';
        out.Append(&substitute, 1);
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return true;
}

bool Convert(const IconvHandle& handle, bool fromUtf8, const char* text, int length, CString& out) {
    if (length < 0 || !handle.IsValid()) return false;
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    const auto n = static_cast<std::size_t>(length);
    // UTF-8 to GBK never grows; GBK to UTF-8 grows a two-byte character to
    // three bytes (a few single bytes grow more; the buffer grows then).
    OutputBuffer buffer(fromUtf8 ? n + 1 : n + n / 2 + 16);
    std::size_t i = 0;
    bool sawMultiByte = false;
    iconv(handle.Get(), nullptr, nullptr, nullptr, nullptr);
    while (i < n) {
        const std::size_t asciiEnd = AsciiRunEnd(s, i, n);
        buffer.Append(s + i, asciiEnd - i);
        i = asciiEnd;
        if (i == n) break;

        // The non-ASCII segment runs up to the next long ASCII run. In GBK a
        // byte below 0x80 may be the second byte of a character, so the walk
        // steps over whole characters.
        std::size_t end = i;
        while (end < n) {
            if (s[end] >= 0x80) {
                end = NonAsciiRunEnd(s, end, n, fromUtf8);
                continue;
            }
            const std::size_t runEnd = AsciiRunEnd(s, end, n);
            if (runEnd - end >= kMinCopiedAsciiRun) break;
            end = runEnd;
        }
        if (end > n) end = n;
        if (fromUtf8) {
            // Every non-ASCII byte here is part of a multi-byte sequence.
            if (Utf8SegmentToAnsi(handle.Get(), s + i, end - i, buffer) != SegmentResult::kConverted) {
                return false;
            }
            sawMultiByte = true;
        } else if (!AnsiSegmentToUtf8(handle.Get(), s + i, end - i, buffer)) {
            return false;
        }
        i = end;
    }
    // Pure ASCII is not taken for UTF-8.
    if (fromUtf8 && !sawMultiByte) return false;
    out = buffer.Finish();
    return true;
}

}  // namespace

bool AnsiToUtf8(const char* text, int length, CString& out) {
    return Convert(ThreadConverters().ansiToWide, false, text, length, out);
}

bool Utf8TextToAnsi(const char* text, int length, CString& out) {
    return Convert(ThreadConverters().wideToAnsi, true, text, length, out);
}

}  // namespace velmora
