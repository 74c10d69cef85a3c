#include "app/runcmd/CommandText.h"

#include "app/registry/KeyPath.h"

const char16_t* const kAppPathsKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";

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

CStringW KeyPathOfCommand(const CStringW& name) { return NormalizeKeyPath(TrimCommandName(name) + u".exe"); }

CStringW CommandOfKeyPath(const CStringW& keyPath) { return keyPath.Left(keyPath.GetLength() - 4); }
