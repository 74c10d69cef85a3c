// The tests write their texts as GBK literals, as the program writes its
// own; the code under test takes and gives UTF-16.
#pragma once

#include <string>

#include "base/wide_text.h"

inline CStringW W(const std::string& gbk) { return velmora::WideFrom936(gbk.data(), gbk.size()); }
inline CStringW W(const char* gbk) { return velmora::WideFrom936(gbk); }
inline std::string N(const CStringW& text) { return velmora::NarrowTo936(text); }
