// Compiled with -fsyntax-only by ctest, once for each row of
// tests/base/CMakeLists.txt: the row VELMORA_TEXT_SOUND must compile, every
// other one must be refused while compiling. That is the guarantee that no
// text lacks a language or loses a hole in translation.
#include "app/cli/CliVerbTable.h"
#include "base/language.h"

#if defined(VELMORA_TEXT_SOUND)
constexpr velmora::Text kText{"已导出 %s 个运行命令到：%s", "Exported %s run commands to: %s"};
constexpr CliHelpText kHelp{"%% 是一个 %，%NAME% 是环境变量", "%% is one %, %NAME% is a variable"};
#elif defined(VELMORA_TEXT_NO_ENGLISH)
constexpr velmora::Text kText{"未做任何修改", ""};
#elif defined(VELMORA_TEXT_NO_CHINESE)
constexpr velmora::Text kText{"", "Nothing was changed"};
#elif defined(VELMORA_TEXT_HOLE_LOST)
constexpr velmora::Text kText{"已导出 %s 个运行命令到：%s", "Exported %s run commands"};
#elif defined(VELMORA_TEXT_HOLES_SWAPPED)
constexpr velmora::Text kText{"第 %s 行：%d", "Line %d: %s"};
#elif defined(VELMORA_TEXT_CHINESE_PUNCTUATION)
constexpr velmora::Text kText{"未能添加“%s”", "Could not add “%s”"};
#elif defined(VELMORA_TEXT_HELP_NO_ENGLISH)
constexpr CliHelpText kHelp{"velmora list\n  列出运行命令。\n", ""};
#elif defined(VELMORA_TEXT_HELP_PERCENT_LOST)
constexpr CliHelpText kHelp{"%* 处放入输入的参数", "the arguments typed go there"};
#endif
