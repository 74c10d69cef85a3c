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

// Converts s[0, n) into out, writing a '?' for every character the
// conversion refuses. False only when iconv fails for another reason.
bool ConvertSegment(iconv_t cd, bool fromUtf8, const unsigned char* s, std::size_t n,
                    OutputBuffer& out) {
    char* in = const_cast<char*>(reinterpret_cast<const char*>(s));
    std::size_t inLeft = n;
    while (inLeft > 0) {
        out.Reserve(4);
        char* o = out.End();
        std::size_t outLeft = out.Left();
        const std::size_t rc = iconv(cd, &in, &inLeft, &o, &outLeft);
        out.Advance(out.Left() - outLeft);
        if (rc != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            out.Reserve(inLeft + inLeft / 2 + 16);
            continue;
        }
        if (errno != EILSEQ && errno != EINVAL) return false;
        const unsigned char substitute = '?';
        out.Append(&substitute, 1);
        const auto* at = reinterpret_cast<const unsigned char*>(in);
        const std::size_t skip = fromUtf8 ? Utf8SkipLength(at, inLeft) : 1;
        in += skip;
        inLeft -= skip;
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
        if (!ConvertSegment(handle.Get(), fromUtf8, s + i, end - i, buffer)) return false;
        i = end;
    }
    out = buffer.Finish();
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
