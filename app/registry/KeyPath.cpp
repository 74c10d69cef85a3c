#include "app/registry/KeyPath.h"

void SplitString(const CStringW& strSource, const char16_t* pszSeparators, std::vector<CStringW>& pieces,
                 bool bTrim) {
    CStringW strText(strSource);
    if (bTrim) strText.Trim(u" |*\r\n\t");
    const CStringW separators(pszSeparators != nullptr ? pszSeparators : u"");

    std::size_t pos = 0;
    while (pos < strText.size()) {
        const std::size_t start = strText.find_first_not_of(separators, pos);
        if (start == CStringW::npos) break;
        std::size_t end = strText.find_first_of(separators, start);
        if (end == CStringW::npos) end = strText.size();
        CStringW strPiece = strText.substr(start, end - start);
        if (bTrim) strPiece.Trim(u" \r\n\t");
        if (!strPiece.IsEmpty()) pieces.push_back(strPiece);
        pos = end;
    }
}

std::vector<CStringW> SplitKeyPath(const CStringW& strKeyPath) {
    CStringW strPath(strKeyPath);
    strPath.Trim(u" \\");
    std::vector<CStringW> names;
    SplitString(strPath, u"\\", names, true);
    return names;
}

CStringW NormalizeKeyPath(const CStringW& strKeyPath) {
    CStringW strPath;
    for (const CStringW& name : SplitKeyPath(strKeyPath)) {
        if (!strPath.IsEmpty()) strPath += u"\\";
        strPath += name;
    }
    return strPath;
}
