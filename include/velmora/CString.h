// CString: the library's narrow text string.
//
// A reference-counted, copy-on-write string of bytes in the ANSI code page
// (GBK, code page 936, on the systems the library serves) with a byte length
// and a terminating zero. Copies share one buffer until one of them is
// changed. Lengths, positions and counts are in bytes.
//
// Multi-byte rules: searching (Find, ReverseFind, Replace), trimming,
// CompareNoCase and MakeLower walk the text character by character, so the
// second byte of a double-byte character is never matched, trimmed or folded.
// The lead-byte test is the platform's for the ANSI code page on Windows and
// GBK's (0x81-0xFE) elsewhere.
//
// Errors: misuse (a negative length, an index outside the text, a released
// length beyond the buffer) throws CStringError with E_INVALIDARG
// (0x80070057); an allocation that yields no memory throws CStringError with
// E_OUTOFMEMORY (0x8007000E). Left, Right, Mid, Delete and Insert clamp their
// positions to the text instead, as callers of this interface expect.
//
// Memory comes from the C runtime's malloc, so strings can be handed between
// modules that share the runtime.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <exception>

#include "velmora/export.h"

// HRESULT values carried by CStringError.
constexpr std::int32_t kStringErrorInvalidArg = static_cast<std::int32_t>(0x80070057u);
constexpr std::int32_t kStringErrorOutOfMemory = static_cast<std::int32_t>(0x8007000Eu);

// The string layer's one error type.
class VELMORA_API CStringError : public std::exception {
public:
    explicit CStringError(std::int32_t hr) noexcept : m_hr(hr) {}
    std::int32_t GetHResult() const noexcept { return m_hr; }
    const char* what() const noexcept override;

private:
    std::int32_t m_hr;
};

class VELMORA_API CString {
public:
    CString() noexcept;
    CString(const char* psz);               // null gives the empty string
    CString(const char* pch, int nLength);  // nLength < 0 throws E_INVALIDARG
    CString(char ch, int nRepeat);          // nRepeat < 0 throws E_INVALIDARG
    CString(const CString& other) noexcept;
    CString(CString&& other) noexcept;
    ~CString();

    CString& operator=(const CString& other) noexcept;
    CString& operator=(CString&& other) noexcept;
    CString& operator=(const char* psz);
    CString& operator=(char ch);

    // Size and access.
    int GetLength() const noexcept;
    bool IsEmpty() const noexcept;
    void Empty() noexcept;
    const char* GetString() const noexcept { return m_pszData; }
    operator const char*() const noexcept { return m_pszData; }
    char GetAt(int nIndex) const;  // 0 <= nIndex < length, else E_INVALIDARG
    char operator[](int nIndex) const { return GetAt(nIndex); }
    void SetAt(int nIndex, char ch);

    // Concatenation.
    CString& operator+=(const CString& str);
    CString& operator+=(const char* psz);
    CString& operator+=(char ch);
    void Append(const char* pch, int nLength);
    void AppendChar(char ch) { Append(&ch, 1); }

    // Comparison: Compare is a plain byte comparison; CompareNoCase folds
    // the ASCII letters of single-byte characters and compares double-byte
    // characters exactly. Both return <0, 0 or >0.
    int Compare(const char* psz) const noexcept;
    int CompareNoCase(const char* psz) const noexcept;

    // printf-style formatting. "%I64d", "%I64u", "%I64x" mean the 64-bit
    // conversions on every build.
    void Format(const char* pszFormat, ...);
    void AppendFormat(const char* pszFormat, ...);
    void FormatV(const char* pszFormat, va_list args);
    void AppendFormatV(const char* pszFormat, va_list args);

    // Trimming: white space (space, tab, line feed, vertical tab, form feed,
    // carriage return), one character, or any character of a set.
    CString& Trim();
    CString& Trim(char chTarget);
    CString& Trim(const char* pszTargets);
    CString& TrimLeft();
    CString& TrimLeft(char chTarget);
    CString& TrimLeft(const char* pszTargets);
    CString& TrimRight();
    CString& TrimRight(char chTarget);
    CString& TrimRight(const char* pszTargets);

    // Substrings (byte positions, clamped to the text).
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString Mid(int iFirst) const;
    CString Mid(int iFirst, int nCount) const;

    // Searching: the byte position of the match, or -1.
    int Find(char ch, int iStart = 0) const noexcept;
    int Find(const char* pszSub, int iStart = 0) const noexcept;
    int ReverseFind(char ch) const noexcept;
    int ReverseFind(const char* pszSub) const noexcept;

    // Editing. Replace and Remove return the number of replacements or
    // removals; Delete and Insert return the new length.
    int Replace(char chOld, char chNew);
    int Replace(const char* pszOld, const char* pszNew);
    int Remove(char ch);
    int Delete(int iIndex, int nCount = 1);
    int Insert(int iIndex, char ch);
    int Insert(int iIndex, const char* psz);
    CString& MakeLower();
    CString& MakeUpper();

    // Direct buffer access. GetBuffer makes the buffer this string's own and
    // at least nMinBufferLength bytes long (plus the terminating zero);
    // ReleaseBuffer sets the length (-1: up to the first zero byte).
    char* GetBuffer();
    char* GetBuffer(int nMinBufferLength);
    char* GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    struct Data;
    static char* NilChars() noexcept;
    Data* GetData() const noexcept;
    void Release() noexcept;
    void PrepareWrite(int nLength);  // unique buffer with room for nLength bytes
    void SetLength(int nLength) noexcept;
    void AssignBytes(const char* pch, int nLength);

    char* m_pszData;
};

VELMORA_API CString operator+(const CString& a, const CString& b);
VELMORA_API CString operator+(const CString& a, const char* b);
VELMORA_API CString operator+(const char* a, const CString& b);
VELMORA_API CString operator+(const CString& a, char b);
VELMORA_API CString operator+(char a, const CString& b);

inline bool operator==(const CString& a, const CString& b) noexcept {
    return a.GetLength() == b.GetLength() && a.Compare(b) == 0;
}
inline bool operator==(const CString& a, const char* b) noexcept { return a.Compare(b) == 0; }
inline bool operator==(const char* a, const CString& b) noexcept { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) noexcept { return !(a == b); }
inline bool operator!=(const CString& a, const char* b) noexcept { return !(a == b); }
inline bool operator!=(const char* a, const CString& b) noexcept { return !(a == b); }
inline bool operator<(const CString& a, const CString& b) noexcept { return a.Compare(b) < 0; }
inline bool operator<(const CString& a, const char* b) noexcept { return a.Compare(b) < 0; }
inline bool operator>(const CString& a, const CString& b) noexcept { return a.Compare(b) > 0; }
inline bool operator>(const CString& a, const char* b) noexcept { return a.Compare(b) > 0; }
inline bool operator<=(const CString& a, const CString& b) noexcept { return a.Compare(b) <= 0; }
inline bool operator<=(const CString& a, const char* b) noexcept { return a.Compare(b) <= 0; }
inline bool operator>=(const CString& a, const CString& b) noexcept { return a.Compare(b) >= 0; }
inline bool operator>=(const CString& a, const char* b) noexcept { return a.Compare(b) >= 0; }
