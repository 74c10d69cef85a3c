#include "app/runcmd/CommandText.h"

const char16_t* const kAppPathsKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const char16_t* const kAppPathsKeyFormat = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\%s.exe";
const char16_t* const kAppPathsRunKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\run.exe";

CStringW GetFileTitleFromPath(const CStringW& strPath) {
    const int nSlash = strPath.ReverseFind(u'\\');
    const int nDot = strPath.ReverseFind(u'.');
    if (nDot > nSlash && nSlash > 0) return strPath.Mid(nSlash + 1, nDot - nSlash - 1);
    return CStringW();
}

bool HasExeExtension(const CStringW& strPath) { return strPath.Right(4).CompareNoCase(u".exe") == 0; }

CStringW TrimCommandName(const CStringW& strTyped) {
    CStringW strName(strTyped);
    return strName.Trim(u" \r\n\t");
}

CStringW BuildCommandKeyPath(const CStringW& strName) {
    // The format's one %s, replaced by the name as it is: a name holding a
    // per cent sign stays as typed.
    CStringW strKeyPath(kAppPathsKeyFormat);
    const int at = strKeyPath.Find(u"%s");
    return strKeyPath.Left(at) + strName + strKeyPath.Mid(at + 2);
}

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
