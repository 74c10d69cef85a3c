// The registry's own export format (.reg files), written and read as bytes.
//
// Written: "Windows Registry Editor Version 5.00" as UTF-16LE with a byte
// order mark and CRLF line ends; one [key] line per key with the root's full
// name; "name"= or @= for the default value; REG_SZ as "text" with \\ and \"
// escaped, REG_DWORD as dword:xxxxxxxx, REG_BINARY as hex:, every other type
// as hex(N): with N in hexadecimal (2 expand, 7 multi, b qword, 0 none), long
// hex lists wrapped after a comma with a backslash and two blanks on the next
// line. Text that a quoted string cannot carry exactly (no terminating zero,
// a zero inside, an odd size, a line break) is written as hex(1):. A line
// break in a value name (which has no hex form) is written as \r or \n,
// which the platform's editor under Wine reads too. Key paths are written
// as they are.
//
// Read: the same, from UTF-16LE (with its byte order mark) or, with the
// "REGEDIT4" header, code page 936 bytes; blank lines and ';' comments
// anywhere between entries; \n and \r in quotes, as Wine's editor writes
// line breaks, besides \\ and \"; any other escape is damage. [-key] and
// "name"=- are read and marked as deletions; what they mean is left to the
// caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/wide_text.h"

struct RegFileValue {
    CStringW name;  // empty: the default value (@)
    std::uint32_t type = 0;
    std::vector<unsigned char> data;
    bool deletion = false;  // "name"=-
    int line = 0;           // 1-based line of the value in the file
    friend bool operator==(const RegFileValue&, const RegFileValue&) = default;
};

struct RegFileKey {
    CStringW path;          // as in the file: "HKEY_CURRENT_USER\Software\..."
    bool deletion = false;  // [-path]
    int line = 0;
    std::vector<RegFileValue> values;
    friend bool operator==(const RegFileKey&, const RegFileKey&) = default;
};

enum class RegFileError {
    kNone,
    kBadHeader,        // not a registry file: no byte order mark / header line
    kCutOff,           // the file ends inside a line that is not complete
    kBadKeyLine,       // a '[' line without its ']' or with an empty key
    kBadEscape,        // a backslash in quotes not followed by \ or "
    kBadString,        // a quoted name or text not closed on its line
    kBadHex,           // not pairs of hex digits separated by commas
    kBadDword,         // dword: not followed by 1 to 8 hex digits
    kBadType,          // hex(N) with N not hexadecimal or too large
    kBadLine,          // a line that is none of the above
    kValueOutsideKey,  // a value before the first [key] line
};

struct RegFileParse {
    RegFileError error = RegFileError::kNone;
    int errorLine = 0;  // 1-based; 0 when there is no error
    std::vector<RegFileKey> keys;
    bool ok() const { return error == RegFileError::kNone; }
};

// Reads a .reg file of `size` bytes. On error nothing of the file is kept in
// `keys`, and errorLine is the line it was found on.
RegFileParse ParseRegFile(const unsigned char* data, std::size_t size);

// The .reg file (version 5.00, UTF-16LE with byte order mark, CRLF) holding
// `keys` in order; deletions are written as [-key] and "name"=-, and the
// values a file gave a [-key] stay below it.
std::vector<unsigned char> WriteRegFile(const std::vector<RegFileKey>& keys);

// The two roots a file's keys may start with.
enum class RegFileRoot { kLocalMachine, kCurrentUser };

// The full name of a root as the file names it: "HKEY_LOCAL_MACHINE" and
// "HKEY_CURRENT_USER"; and back, with the short names HKLM and HKCU read too
// (ASCII letter case ignored). False for any other root.
const char16_t* RegFileRootName(RegFileRoot root);
bool ParseRegFileRoot(const CStringW& name, RegFileRoot* pRoot);
