#include "base/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

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

// iconv descriptors carry conversion state, so each thread keeps its own
// pair, opened on first use (opening one costs far more than a short text).
struct Converters {
    IconvHandle ansiToUtf8{"UTF-8", kAnsiCharset};
    IconvHandle utf8ToAnsi{kAnsiCharset, "UTF-8"};
};

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

// Bytes to drop after a sequence iconv refused: a whole UTF-8 character when
// its shape is right (a character GBK lacks), otherwise one byte.
std::size_t Utf8SkipLength(const unsigned char* s, std::size_t left) {
    std::size_t want = 1;
    if (s[0] >= 0xF0 && s[0] <= 0xF7) want = 4;
    else if (s[0] >= 0xE0) want = 3;
    else if (s[0] >= 0xC2) want = 2;
    if (want > left) return 1;
    for (std::size_t i = 1; i < want; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 1;
    }
    return want;
}

// Converts s[0, n) into out, writing a '?' for every character the
// conversion refuses. Returns the bytes written, or -1 when the output does
// not fit (the caller sizes it so that this cannot happen).
long ConvertSegment(iconv_t cd, bool fromUtf8, const unsigned char* s, std::size_t n, char* out,
                    std::size_t room) {
    char* in = const_cast<char*>(reinterpret_cast<const char*>(s));
    std::size_t inLeft = n;
    char* o = out;
    std::size_t outLeft = room;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &o, &outLeft) != static_cast<std::size_t>(-1)) break;
        if (errno != EILSEQ && errno != EINVAL) return -1;
        if (outLeft == 0) return -1;
        *o++ = '?';
        --outLeft;
        const auto* at = reinterpret_cast<const unsigned char*>(in);
        const std::size_t skip = fromUtf8 ? Utf8SkipLength(at, inLeft) : 1;
        in += skip;
        inLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return o - out;
}

bool Convert(const IconvHandle& handle, bool fromUtf8, const char* text, int length, CString& out) {
    if (length < 0 || !handle.IsValid()) return false;
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    const auto n = static_cast<std::size_t>(length);
    // GBK to UTF-8 grows a two-byte character to at most three bytes; UTF-8
    // to GBK never grows; every substitute replaces at least one byte.
    const std::size_t room = fromUtf8 ? n : n + n / 2 + 1;
    if (room > 0x7FFFFFF0u) return false;

    CString result;
    char* buffer = result.GetBuffer(static_cast<int>(room));
    std::size_t written = 0;
    std::size_t i = 0;
    iconv(handle.Get(), nullptr, nullptr, nullptr, nullptr);
    while (i < n) {
        const std::size_t asciiEnd = AsciiRunEnd(s, i, n);
        std::memcpy(buffer + written, s + i, asciiEnd - i);
        written += asciiEnd - i;
        i = asciiEnd;
        if (i == n) break;

        // The non-ASCII segment runs up to the next long ASCII run. In GBK a
        // byte below 0x80 may be the second byte of a character, so the walk
        // steps over whole characters.
        std::size_t end = i;
        while (end < n) {
            if (s[end] >= 0x80) {
                end += fromUtf8 ? 1 : 2;
                continue;
            }
            const std::size_t runEnd = AsciiRunEnd(s, end, n);
            if (runEnd - end >= kMinCopiedAsciiRun) break;
            end = runEnd;
        }
        if (end > n) end = n;
        const long got = ConvertSegment(handle.Get(), fromUtf8, s + i, end - i, buffer + written,
                                        room - written);
        if (got < 0) return false;
        written += static_cast<std::size_t>(got);
        i = end;
    }
    result.ReleaseBuffer(static_cast<int>(written));
    out = result;
    return true;
}

}  // namespace

bool AnsiToUtf8(const char* text, int length, CString& out) {
    return Convert(ThreadConverters().ansiToUtf8, false, text, length, out);
}

bool Utf8ToAnsi(const char* text, int length, CString& out) {
    return Convert(ThreadConverters().utf8ToAnsi, true, text, length, out);
}

}  // namespace velmora
