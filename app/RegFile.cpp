#include "app/RegFile.h"

// Not written yet: every file is refused.
RegFileParse ParseRegFile(const unsigned char*, std::size_t) {
    RegFileParse parse;
    parse.error = RegFileError::kBadHeader;
    parse.errorLine = 1;
    return parse;
}
std::vector<unsigned char> WriteRegFile(const std::vector<RegFileKey>&) { return {}; }
const char16_t* RegFileRootName(RegFileRoot root) {
    return root == RegFileRoot::kLocalMachine ? u"HKEY_LOCAL_MACHINE" : u"HKEY_CURRENT_USER";
}
bool ParseRegFileRoot(const CStringW&, RegFileRoot*) { return false; }
