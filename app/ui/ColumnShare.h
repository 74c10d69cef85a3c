// How a list's columns share its width: the columns of fixed content (a
// name, a scope, a mark) keep the widths they have, and the columns of long
// text (a target, a Path value, a reason) share what is left, in proportion
// to their widths now, so that the columns always end at the list's right
// edge with no empty heading after the last.
#pragma once

#include <vector>

namespace velmora::app {

// The column widths for a list `available` pixels wide. `widths[i]` is
// column i's width now; `shares[i]` says whether it takes part in the share
// (missing entries: false). The sharing columns get what the others leave,
// split in proportion to their widths (equally when all are zero), the
// last of them taking the rounding; none narrower than `minimum` (then the
// total exceeds `available` and the list scrolls). No sharing column, or
// widths below zero: the widths as they are, negative ones as zero.
std::vector<int> ShareColumns(const std::vector<int>& widths, const std::vector<bool>& shares, int available,
                              int minimum);

}  // namespace velmora::app
