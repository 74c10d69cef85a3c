// Exact two-decimal formatting of a double, independent of the C library.
#pragma once

#include <string>

namespace velmora {

// The text "%.2f" gives for `value` under the rule: the exact decimal
// expansion of the value is rounded to 17 significant digits, then cut after
// the second decimal, rounding up in magnitude when the first digit cut is 5
// or more (half away from zero). The sign bit is kept, so negative values
// that round to zero give "-0.00". Infinities give "inf" or "-inf", NaN
// gives "nan".
std::string FormatFixed2(double value);

}  // namespace velmora
