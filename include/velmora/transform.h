// Conversions between text and numbers with fixed rules that do not depend
// on the C library of the build.
//
// Parsing: leading white space (space, \t, \n, \v, \f, \r) is skipped, one
// optional '+' or '-' is accepted, then decimal digits are read up to the
// first non-digit. Text without digits gives 0. Nothing is reported; each
// function states what an out-of-range value gives.
#pragma once

#include "velmora/CString.h"
#include "velmora/export.h"

// Signed 32-bit; out-of-range values saturate to 2147483647 / -2147483648.
VELMORA_API int Transform2Int(CString text);

// Parsed as a signed 64-bit value (saturating), then the low 32 bits are
// kept: "-1" gives 4294967295, "4294967296" gives 0. The result is always
// below 2^32, also where unsigned long is wider.
VELMORA_API unsigned long Transform2Ulong(CString text);

// Unsigned 64-bit: a leading '-' negates the value modulo 2^64; a magnitude
// of 2^64 or more gives 18446744073709551615 whatever the sign.
VELMORA_API unsigned long long Transform2ULL(CString text);

// Signed 64-bit, saturating at -9223372036854775808 and 9223372036854775807.
VELMORA_API long long Transform2LL(CString text);

// The low 16 bits of Transform2Int: "65537" gives 1, "-1" gives 65535.
VELMORA_API unsigned short Transform2Ushort(CString text);

// Decimal text of the value.
VELMORA_API CString Transform2Str(int value);
VELMORA_API CString Transform2Str(unsigned long long value);
VELMORA_API CString Transform2Str(unsigned int value);
VELMORA_API CString Transform2Str(unsigned long value);
VELMORA_API CString Transform2Str(unsigned short value);

// Two decimals ("%.2f" of the value widened to double), rounded the same on
// every build: the value's exact decimal expansion is first rounded to 17
// significant digits, then cut after the second decimal, rounding up in
// magnitude when the first digit cut is 5 or more. So 0.125f gives "0.13",
// -1.125f gives "-1.13", 2.5f gives "2.50". A negative value that rounds to
// zero keeps its sign ("-0.00"); infinities give "inf" / "-inf", NaN "nan".
VELMORA_API CString Transform2Str(float value);
