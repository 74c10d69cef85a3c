// Short display texts for scores, transfer speeds, data sizes and elapsed
// times. Units are binary (1 KB = 1024 bytes); the number is followed by its
// unit without a space. Level and day words are GBK.
#pragma once

#include "velmora/CString.h"
#include "velmora/export.h"

// The user level of a score, "1级" (below 1000, and every negative score) to
// "11级" (100000000 and more). With a non-zero `withWealth` the text is
// "级别：<level> 财富：<score>Pellicor银币", the score printed as an unsigned
// 64-bit number (a negative score prints as 2^64 plus the score).
VELMORA_API CString ScoreToStr(long long score, int withWealth);

// "<n>B/s" below 1024, whole "<n>KB/s" up to 1048575 (rounded on the
// two-decimal text, so 1535 gives "2KB/s"), then "<x.xx>MB/s".
VELMORA_API CString UINTSpeedToStr(unsigned int bytesPerSecond);

// "<n>Byte" below 1024, then "<x.xx>KB", "<x.xx>MB", "<x.xx>GB", from the
// value divided by the unit and rounded to single precision.
VELMORA_API CString ULLSizeToStr(unsigned long long bytes);

// Elapsed time of whole seconds (milliseconds are dropped): "HH:MM:SS", with
// "<days>天 " in front from one day on.
VELMORA_API CString DWTimeToStr(unsigned int milliseconds);
