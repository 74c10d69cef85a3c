#include "velmora/CString.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/mbcs.h"

using velmora::CharLengthAt;

// The buffer header that precedes the characters. A negative reference count
// marks the shared empty string, which is never freed.
struct CString::Data {
    long nRefs;
    int nDataLength;
    int nAllocLength;

    char* Chars() noexcept { return reinterpret_cast<char*>(this + 1); }
};

namespace {

// Lengths stay well below INT_MAX so that length arithmetic never overflows.
constexpr int kMaxLength = INT_MAX / 2;

[[noreturn]] void ThrowInvalidArg() { throw CStringError(kStringErrorInvalidArg); }
[[noreturn]] void ThrowOutOfMemory() { throw CStringError(kStringErrorOutOfMemory); }

bool IsSpace(unsigned char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

unsigned char FoldAscii(unsigned char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Does the character ch (clen bytes) occur, as a whole character, in the
// zero-terminated set?
bool SetContainsChar(const char* set, const char* ch, int clen) noexcept {
    if (set == nullptr) return false;
    const int setLength = static_cast<int>(std::strlen(set));
    for (int pos = 0; pos < setLength;) {
        const int setClen = CharLengthAt(set, setLength, pos);
        if (setClen == clen && std::memcmp(set + pos, ch, clen) == 0) return true;
        pos += setClen;
    }
    return false;
}

// One character of the text to trim: its bytes and its length.
struct TrimChar {
    const char* bytes;
    int length;
};

bool IsSpaceChar(TrimChar c, const void*) noexcept {
    return c.length == 1 && IsSpace(static_cast<unsigned char>(*c.bytes));
}
bool IsTargetChar(TrimChar c, const void* target) noexcept {
    return c.length == 1 && *c.bytes == *static_cast<const char*>(target);
}
bool IsInTargetSet(TrimChar c, const void* set) noexcept {
    return SetContainsChar(static_cast<const char*>(set), c.bytes, c.length);
}

using TrimPredicate = bool (*)(TrimChar, const void*) noexcept;

// Byte length of the leading run of characters that match.
int LeadingRun(const char* text, int length, TrimPredicate matches, const void* arg) noexcept {
    int pos = 0;
    while (pos < length) {
        const int clen = CharLengthAt(text, length, pos);
        if (!matches({text + pos, clen}, arg)) break;
        pos += clen;
    }
    return pos;
}

// Position where the trailing run of matching characters starts (length when
// there is none). The walk goes forward so that trail bytes are never taken
// for characters of their own.
int TrailingRunStart(const char* text, int length, TrimPredicate matches, const void* arg) noexcept {
    int runStart = length;
    for (int pos = 0; pos < length;) {
        const int clen = CharLengthAt(text, length, pos);
        if (matches({text + pos, clen}, arg)) {
            if (runStart == length) runStart = pos;
        } else {
            runStart = length;
        }
        pos += clen;
    }
    return runStart;
}

// Byte position of the first character boundary at or after `start` where
// `sub` (subLength bytes) matches, or -1. With `last`, the last such position.
int FindAtBoundary(const char* text, int length, int start, const char* sub, int subLength,
                   bool last) noexcept {
    int found = -1;
    for (int pos = 0; pos + subLength <= length;) {
        if (pos >= start && std::memcmp(text + pos, sub, subLength) == 0) {
            if (!last) return pos;
            found = pos;
        }
        pos += CharLengthAt(text, length, pos);
    }
    return found;
}

// The format with Microsoft's "I64" size prefix turned into the standard "ll",
// so "%I64u" means the same on every build.
bool RewriteI64(const char* format, std::string& out) {
    if (std::strstr(format, "I64") == nullptr) return false;
    out.clear();
    for (const char* p = format; *p != '\0'; ++p) {
        out += *p;
        if (*p != '%') continue;
        ++p;
        if (*p == '%') {
            out += '%';
            continue;
        }
        while (*p != '\0' && std::strchr("-+ #0123456789.*", *p) != nullptr) out += *p++;
        if (std::strncmp(p, "I64", 3) == 0) {
            out += "ll";
            p += 3;
        }
        if (*p == '\0') break;
        out += *p;
    }
    return true;
}

}  // namespace

const char* CStringError::what() const noexcept {
    return m_hr == kStringErrorOutOfMemory ? "CString: out of memory" : "CString: invalid argument";
}

// ---------------------------------------------------------------------------
// Buffer management

char* CString::NilChars() noexcept {
    // Constant-initialised, so it exists before any start-up code has run
    // (the library's exports are also called when the executable's own
    // start-up never ran).
    struct NilBlock {
        Data header;
        char terminator[sizeof(long)];
    };
    static constinit NilBlock nil = {{-1, 0, 0}, {0}};
    return nil.header.Chars();
}

CString::Data* CString::GetData() const noexcept { return reinterpret_cast<Data*>(m_pszData) - 1; }

namespace {

// Kept out of line: inlined next to the empty string, the compiler cannot see
// that the empty string's negative count never reaches here.
[[gnu::noinline]] void FreeBlock(void* block) noexcept { std::free(block); }

}  // namespace

void CString::Release() noexcept {
    Data* data = GetData();
    if (data->nRefs >= 0 && __atomic_sub_fetch(&data->nRefs, 1, __ATOMIC_ACQ_REL) == 0) {
        FreeBlock(data);
    }
    m_pszData = NilChars();
}

void CString::PrepareWrite(int nLength) {
    if (nLength < 0) ThrowInvalidArg();
    if (nLength > kMaxLength) ThrowOutOfMemory();
    Data* old = GetData();
    const bool shared = __atomic_load_n(&old->nRefs, __ATOMIC_ACQUIRE) != 1;
    if (!shared && old->nAllocLength >= nLength) return;

    int allocLength = nLength;
    if (nLength > old->nAllocLength && old->nAllocLength > 0) {
        // Grow geometrically so that repeated appends stay linear.
        const int grown = old->nAllocLength + old->nAllocLength / 2;
        if (grown > allocLength && grown <= kMaxLength) allocLength = grown;
    }
    const int keep = old->nDataLength < allocLength ? old->nDataLength : allocLength;
    const std::size_t bytes = sizeof(Data) + static_cast<std::size_t>(allocLength) + 1;
    Data* fresh = static_cast<Data*>(std::malloc(bytes));
    if (fresh == nullptr) ThrowOutOfMemory();
    fresh->nRefs = 1;
    fresh->nAllocLength = allocLength;
    fresh->nDataLength = keep;
    std::memcpy(fresh->Chars(), old->Chars(), static_cast<std::size_t>(keep));
    fresh->Chars()[keep] = '\0';
    fresh->Chars()[allocLength] = '\0';  // ReleaseBuffer(-1) always finds a zero
    Release();
    m_pszData = fresh->Chars();
}

void CString::SetLength(int nLength) noexcept {
    Data* data = GetData();
    data->nDataLength = nLength;
    data->Chars()[nLength] = '\0';
}

void CString::AssignBytes(const char* pch, int nLength) {
    if (nLength < 0) ThrowInvalidArg();
    if (nLength == 0) {
        Empty();
        return;
    }
    Data* data = GetData();
    if (data->nRefs == 1 && data->nAllocLength >= nLength) {
        std::memmove(m_pszData, pch, static_cast<std::size_t>(nLength));  // may overlap
        SetLength(nLength);
        return;
    }
    CString fresh;
    fresh.PrepareWrite(nLength);
    std::memcpy(fresh.m_pszData, pch, static_cast<std::size_t>(nLength));
    fresh.SetLength(nLength);
    *this = static_cast<CString&&>(fresh);
}

// ---------------------------------------------------------------------------
// Construction and assignment

CString::CString() noexcept : m_pszData(NilChars()) {}

CString::CString(const char* psz) : m_pszData(NilChars()) {
    if (psz != nullptr) AssignBytes(psz, static_cast<int>(std::strlen(psz)));
}

CString::CString(const char* pch, int nLength) : m_pszData(NilChars()) {
    if (nLength < 0) ThrowInvalidArg();
    if (nLength > 0 && pch == nullptr) ThrowInvalidArg();
    AssignBytes(pch, nLength);
}

CString::CString(char ch, int nRepeat) : m_pszData(NilChars()) {
    if (nRepeat < 0) ThrowInvalidArg();
    if (nRepeat == 0) return;
    PrepareWrite(nRepeat);
    std::memset(m_pszData, static_cast<unsigned char>(ch), static_cast<std::size_t>(nRepeat));
    SetLength(nRepeat);
}

CString::CString(const CString& other) noexcept : m_pszData(other.m_pszData) {
    Data* data = GetData();
    if (data->nRefs >= 0) __atomic_add_fetch(&data->nRefs, 1, __ATOMIC_RELAXED);
}

CString::CString(CString&& other) noexcept : m_pszData(other.m_pszData) { other.m_pszData = NilChars(); }

CString::~CString() { Release(); }

CString& CString::operator=(const CString& other) noexcept {
    if (m_pszData != other.m_pszData) {
        Data* data = other.GetData();
        if (data->nRefs >= 0) __atomic_add_fetch(&data->nRefs, 1, __ATOMIC_RELAXED);
        Release();
        m_pszData = other.m_pszData;
    }
    return *this;
}

CString& CString::operator=(CString&& other) noexcept {
    if (this != &other) {
        Release();
        m_pszData = other.m_pszData;
        other.m_pszData = NilChars();
    }
    return *this;
}

CString& CString::operator=(const char* psz) {
    if (psz == nullptr) {
        Empty();
    } else {
        AssignBytes(psz, static_cast<int>(std::strlen(psz)));
    }
    return *this;
}

CString& CString::operator=(char ch) {
    AssignBytes(&ch, 1);
    return *this;
}

// ---------------------------------------------------------------------------
// Size and access

int CString::GetLength() const noexcept { return GetData()->nDataLength; }

bool CString::IsEmpty() const noexcept { return GetLength() == 0; }

void CString::Empty() noexcept { Release(); }

char CString::GetAt(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetLength()) ThrowInvalidArg();
    return m_pszData[nIndex];
}

void CString::SetAt(int nIndex, char ch) {
    if (nIndex < 0 || nIndex >= GetLength()) ThrowInvalidArg();
    PrepareWrite(GetLength());
    m_pszData[nIndex] = ch;
}

// ---------------------------------------------------------------------------
// Concatenation

void CString::Append(const char* pch, int nLength) {
    if (nLength < 0) ThrowInvalidArg();
    if (nLength == 0) return;
    if (pch == nullptr) ThrowInvalidArg();
    const int oldLength = GetLength();
    if (nLength > kMaxLength - oldLength) ThrowOutOfMemory();
    const Data* data = GetData();
    if (pch >= m_pszData && pch <= m_pszData + data->nAllocLength) {
        // Appending part of ourselves: the buffer may move, so copy first.
        const CString copy(pch, nLength);
        Append(copy.m_pszData, nLength);
        return;
    }
    PrepareWrite(oldLength + nLength);
    std::memcpy(m_pszData + oldLength, pch, static_cast<std::size_t>(nLength));
    SetLength(oldLength + nLength);
}

CString& CString::operator+=(const CString& str) {
    Append(str.m_pszData, str.GetLength());
    return *this;
}

CString& CString::operator+=(const char* psz) {
    if (psz != nullptr) Append(psz, static_cast<int>(std::strlen(psz)));
    return *this;
}

CString& CString::operator+=(char ch) {
    Append(&ch, 1);
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, const char* b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const char* a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, char b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(char a, const CString& b) {
    CString result(a, 1);
    result += b;
    return result;
}

// ---------------------------------------------------------------------------
// Comparison

int CString::Compare(const char* psz) const noexcept {
    return std::strcmp(m_pszData, psz != nullptr ? psz : "");
}

int CString::CompareNoCase(const char* psz) const noexcept {
    const unsigned char* a = reinterpret_cast<const unsigned char*>(m_pszData);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(psz != nullptr ? psz : "");
    for (;;) {
        // A character's value: a double-byte character as its two bytes, a
        // single byte folded to lower case.
        unsigned va = FoldAscii(*a);
        unsigned vb = FoldAscii(*b);
        int la = 1;
        int lb = 1;
        if (velmora::IsLeadByte(*a) && a[1] != 0) {
            va = (static_cast<unsigned>(a[0]) << 8) | a[1];
            la = 2;
        }
        if (velmora::IsLeadByte(*b) && b[1] != 0) {
            vb = (static_cast<unsigned>(b[0]) << 8) | b[1];
            lb = 2;
        }
        if (va != vb) return va < vb ? -1 : 1;
        if (va == 0) return 0;
        a += la;
        b += lb;
    }
}

// ---------------------------------------------------------------------------
// Formatting

void CString::FormatV(const char* pszFormat, va_list args) {
    if (pszFormat == nullptr) ThrowInvalidArg();
    std::string rewritten;
    const char* format = RewriteI64(pszFormat, rewritten) ? rewritten.c_str() : pszFormat;

    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) ThrowInvalidArg();

    // Format into a fresh buffer: the arguments may point into this string.
    CString result;
    result.PrepareWrite(length);
    std::vsnprintf(result.m_pszData, static_cast<std::size_t>(length) + 1, format, args);
    result.SetLength(length);
    *this = static_cast<CString&&>(result);
}

void CString::AppendFormatV(const char* pszFormat, va_list args) {
    CString piece;
    piece.FormatV(pszFormat, args);
    *this += piece;
}

void CString::Format(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    try {
        FormatV(pszFormat, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

void CString::AppendFormat(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    try {
        AppendFormatV(pszFormat, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

// ---------------------------------------------------------------------------
// Trimming

namespace {

void TrimLeftBy(CString& str, TrimPredicate matches, const void* arg) {
    const int run = LeadingRun(str.GetString(), str.GetLength(), matches, arg);
    if (run > 0) str.Delete(0, run);
}

void TrimRightBy(CString& str, TrimPredicate matches, const void* arg) {
    const int start = TrailingRunStart(str.GetString(), str.GetLength(), matches, arg);
    if (start < str.GetLength()) str.Delete(start, str.GetLength() - start);
}

}  // namespace

CString& CString::TrimLeft() {
    TrimLeftBy(*this, IsSpaceChar, nullptr);
    return *this;
}
CString& CString::TrimLeft(char chTarget) {
    TrimLeftBy(*this, IsTargetChar, &chTarget);
    return *this;
}
CString& CString::TrimLeft(const char* pszTargets) {
    TrimLeftBy(*this, IsInTargetSet, pszTargets);
    return *this;
}
CString& CString::TrimRight() {
    TrimRightBy(*this, IsSpaceChar, nullptr);
    return *this;
}
CString& CString::TrimRight(char chTarget) {
    TrimRightBy(*this, IsTargetChar, &chTarget);
    return *this;
}
CString& CString::TrimRight(const char* pszTargets) {
    TrimRightBy(*this, IsInTargetSet, pszTargets);
    return *this;
}
CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(char chTarget) { return TrimRight(chTarget).TrimLeft(chTarget); }
CString& CString::Trim(const char* pszTargets) { return TrimRight(pszTargets).TrimLeft(pszTargets); }

// ---------------------------------------------------------------------------
// Substrings

CString CString::Left(int nCount) const {
    if (nCount < 0) nCount = 0;
    if (nCount >= GetLength()) return *this;
    return CString(m_pszData, nCount);
}

CString CString::Right(int nCount) const {
    if (nCount < 0) nCount = 0;
    const int length = GetLength();
    if (nCount >= length) return *this;
    return CString(m_pszData + (length - nCount), nCount);
}

CString CString::Mid(int iFirst) const { return Mid(iFirst, GetLength()); }

CString CString::Mid(int iFirst, int nCount) const {
    const int length = GetLength();
    if (iFirst < 0) iFirst = 0;
    if (nCount < 0) nCount = 0;
    if (iFirst > length) iFirst = length;
    if (nCount > length - iFirst) nCount = length - iFirst;
    if (iFirst == 0 && nCount == length) return *this;
    return CString(m_pszData + iFirst, nCount);
}

// ---------------------------------------------------------------------------
// Searching

int CString::Find(char ch, int iStart) const noexcept {
    const int length = GetLength();
    if (iStart < 0 || iStart >= length) return -1;
    return FindAtBoundary(m_pszData, length, iStart, &ch, 1, false);
}

int CString::Find(const char* pszSub, int iStart) const noexcept {
    const int length = GetLength();
    if (pszSub == nullptr || iStart < 0 || iStart > length) return -1;
    const int subLength = static_cast<int>(std::strlen(pszSub));
    if (subLength == 0) return iStart;
    return FindAtBoundary(m_pszData, length, iStart, pszSub, subLength, false);
}

int CString::ReverseFind(char ch) const noexcept {
    return FindAtBoundary(m_pszData, GetLength(), 0, &ch, 1, true);
}

int CString::ReverseFind(const char* pszSub) const noexcept {
    if (pszSub == nullptr) return -1;
    const int subLength = static_cast<int>(std::strlen(pszSub));
    if (subLength == 0) return GetLength();
    return FindAtBoundary(m_pszData, GetLength(), 0, pszSub, subLength, true);
}

// ---------------------------------------------------------------------------
// Editing

int CString::Replace(char chOld, char chNew) {
    int count = 0;
    const int length = GetLength();
    for (int pos = 0; pos < length;) {
        const int clen = CharLengthAt(m_pszData, length, pos);
        if (clen == 1 && m_pszData[pos] == chOld) {
            if (count == 0) PrepareWrite(length);
            m_pszData[pos] = chNew;
            ++count;
        }
        pos += clen;
    }
    return count;
}

int CString::Replace(const char* pszOld, const char* pszNew) {
    if (pszOld == nullptr) return 0;
    const int oldLength = static_cast<int>(std::strlen(pszOld));
    if (oldLength == 0) return 0;
    const int newLength = pszNew != nullptr ? static_cast<int>(std::strlen(pszNew)) : 0;
    const int length = GetLength();

    CString result;
    int count = 0;
    int copiedUpTo = 0;
    for (int pos = 0; pos + oldLength <= length;) {
        if (std::memcmp(m_pszData + pos, pszOld, static_cast<std::size_t>(oldLength)) == 0) {
            result.Append(m_pszData + copiedUpTo, pos - copiedUpTo);
            result.Append(pszNew, newLength);
            pos += oldLength;
            copiedUpTo = pos;
            ++count;
        } else {
            pos += CharLengthAt(m_pszData, length, pos);
        }
    }
    if (count > 0) {
        result.Append(m_pszData + copiedUpTo, length - copiedUpTo);
        *this = static_cast<CString&&>(result);
    }
    return count;
}

int CString::Remove(char ch) {
    const int length = GetLength();
    if (FindAtBoundary(m_pszData, length, 0, &ch, 1, false) < 0) return 0;
    PrepareWrite(length);
    int out = 0;
    for (int pos = 0; pos < length;) {
        const int clen = CharLengthAt(m_pszData, length, pos);
        if (!(clen == 1 && m_pszData[pos] == ch)) {
            std::memmove(m_pszData + out, m_pszData + pos, static_cast<std::size_t>(clen));
            out += clen;
        }
        pos += clen;
    }
    const int removed = length - out;
    SetLength(out);
    return removed;
}

int CString::Delete(int iIndex, int nCount) {
    const int length = GetLength();
    if (iIndex < 0) iIndex = 0;
    if (nCount < 0) nCount = 0;
    if (iIndex >= length) return length;
    if (nCount > length - iIndex) nCount = length - iIndex;
    if (nCount == 0) return length;
    PrepareWrite(length);
    std::memmove(m_pszData + iIndex, m_pszData + iIndex + nCount,
                 static_cast<std::size_t>(length - iIndex - nCount));
    SetLength(length - nCount);
    return length - nCount;
}

int CString::Insert(int iIndex, char ch) {
    const char text[2] = {ch, '\0'};
    return Insert(iIndex, text);
}

int CString::Insert(int iIndex, const char* psz) {
    const int length = GetLength();
    if (iIndex < 0) iIndex = 0;
    if (iIndex > length) iIndex = length;
    const int insertLength = psz != nullptr ? static_cast<int>(std::strlen(psz)) : 0;
    if (insertLength == 0) return length;
    CString result(m_pszData, iIndex);
    result.Append(psz, insertLength);
    result.Append(m_pszData + iIndex, length - iIndex);
    *this = static_cast<CString&&>(result);
    return length + insertLength;
}

CString& CString::MakeLower() {
    const int length = GetLength();
    for (int pos = 0; pos < length;) {
        const int clen = CharLengthAt(m_pszData, length, pos);
        const unsigned char c = static_cast<unsigned char>(m_pszData[pos]);
        if (clen == 1 && c >= 'A' && c <= 'Z') {
            PrepareWrite(length);
            m_pszData[pos] = static_cast<char>(c + ('a' - 'A'));
        }
        pos += clen;
    }
    return *this;
}

CString& CString::MakeUpper() {
    const int length = GetLength();
    for (int pos = 0; pos < length;) {
        const int clen = CharLengthAt(m_pszData, length, pos);
        const unsigned char c = static_cast<unsigned char>(m_pszData[pos]);
        if (clen == 1 && c >= 'a' && c <= 'z') {
            PrepareWrite(length);
            m_pszData[pos] = static_cast<char>(c - ('a' - 'A'));
        }
        pos += clen;
    }
    return *this;
}

// ---------------------------------------------------------------------------
// Direct buffer access

char* CString::GetBuffer() {
    PrepareWrite(GetLength());
    return m_pszData;
}

char* CString::GetBuffer(int nMinBufferLength) {
    if (nMinBufferLength < 0) ThrowInvalidArg();
    const int length = GetLength();
    PrepareWrite(nMinBufferLength > length ? nMinBufferLength : length);
    return m_pszData;
}

char* CString::GetBufferSetLength(int nLength) {
    if (nLength < 0) ThrowInvalidArg();
    PrepareWrite(nLength);
    SetLength(nLength);
    return m_pszData;
}

void CString::ReleaseBuffer(int nNewLength) {
    Data* data = GetData();
    if (data->nRefs < 0) {  // never got a buffer: the shared empty string
        if (nNewLength == -1 || nNewLength == 0) return;
        ThrowInvalidArg();
    }
    if (nNewLength == -1) {
        const void* zero = std::memchr(m_pszData, '\0', static_cast<std::size_t>(data->nAllocLength) + 1);
        nNewLength = static_cast<int>(static_cast<const char*>(zero) - m_pszData);
    }
    if (nNewLength < 0 || nNewLength > data->nAllocLength) ThrowInvalidArg();
    SetLength(nNewLength);
}
