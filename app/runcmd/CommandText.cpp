#include "app/runcmd/CommandText.h"

#include "app/registry/KeyPath.h"

const char16_t* const kAppPathsKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";

CStringW GetFileTitleFromPath(const CStringW& path) {
    const int slash = path.ReverseFind(u'\\');
    const int dot = path.ReverseFind(u'.');
    if (dot > slash && slash > 0) return path.Mid(slash + 1, dot - slash - 1);
    return CStringW();
}

bool HasExeExtension(const CStringW& path) { return path.Right(4).CompareNoCase(u".exe") == 0; }

CStringW TrimCommandName(const CStringW& typed) {
    CStringW name(typed);
    return name.Trim(u" \r\n\t");
}

CStringW KeyPathOfCommand(const CStringW& name) {
    // The names that walking App Paths\NAME.exe makes below App Paths: the
    // name is never at an end of that path, so each of its pieces loses its
    // blanks and nothing else.
    std::vector<CStringW> pieces;
    SplitString(TrimCommandName(name) + u".exe", u"\\", pieces, false);
    CStringW keyPath;
    for (CStringW piece : pieces) {
        if (piece.Trim(u" \r\n\t").IsEmpty()) continue;
        if (!keyPath.IsEmpty()) keyPath += u"\\";
        keyPath += piece;
    }
    return keyPath;
}

CStringW CommandOfKeyPath(const CStringW& keyPath) { return keyPath.Left(keyPath.GetLength() - 4); }
