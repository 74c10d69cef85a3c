#include "app/CommandText.h"

#include <cstring>

#include "base/mbcs.h"

const char* const kAppPathsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const char* const kAppPathsKeyFormat = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\%s.exe";
const char* const kAppPathsRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\run.exe";

CString GetFileTitleFromPath(const char* pszPath) {
    const CString strPath(pszPath);
    const int nSlash = strPath.ReverseFind('\\');
    const int nDot = strPath.ReverseFind('.');
    if (nDot > nSlash && nSlash > 0) return strPath.Mid(nSlash + 1, nDot - nSlash - 1);
    return CString();
}

bool HasExeExtension(const CString& strPath) { return strPath.Right(4).CompareNoCase(".exe") == 0; }

CString TrimCommandName(const CString& strTyped) {
    CString strName(strTyped);
    strName.TrimRight(" \r\n\t");
    strName.TrimLeft(" \r\n\t");
    return strName;
}

CString BuildCommandKeyPath(const CString& strName) {
    CString strKeyPath;
    strKeyPath.Format(kAppPathsKeyFormat, strName.GetString());
    return strKeyPath;
}

void SplitString(const CString& strSource, const char* pszSeparators, std::vector<CString>& pieces,
                 bool bTrim) {
    CString strText(strSource);
    if (bTrim) {
        strText.TrimRight(" |*\r\n\t");
        strText.TrimLeft(" |*\r\n\t");
    }
    const char* text = strText.GetString();
    const int nLength = strText.GetLength();
    const char* separators = pszSeparators != nullptr ? pszSeparators : "";
    const int nSeparators = static_cast<int>(std::strlen(separators));

    // Separators are compared as whole characters, so that the trail byte of
    // a double-byte character never splits the text.
    auto isSeparatorAt = [&](int pos, int clen) {
        for (int s = 0; s < nSeparators;) {
            const int slen = velmora::CharLengthAt(separators, nSeparators, s);
            if (slen == clen && std::memcmp(separators + s, text + pos, clen) == 0) return true;
            s += slen;
        }
        return false;
    };

    int pos = 0;
    while (pos < nLength) {
        int clen = velmora::CharLengthAt(text, nLength, pos);
        if (isSeparatorAt(pos, clen)) {
            pos += clen;
            continue;
        }
        const int start = pos;
        while (pos < nLength) {
            clen = velmora::CharLengthAt(text, nLength, pos);
            if (isSeparatorAt(pos, clen)) break;
            pos += clen;
        }
        CString strPiece(text + start, pos - start);
        if (bTrim) {
            strPiece.TrimRight(" \r\n\t");
            strPiece.TrimLeft(" \r\n\t");
        }
        if (!strPiece.IsEmpty()) pieces.push_back(strPiece);
        // The separator that ended the piece is skipped by the loop.
    }
}

std::vector<CString> SplitKeyPath(const CString& strKeyPath) {
    CString strPath(strKeyPath);
    strPath.TrimRight(" \\");
    strPath.TrimLeft(" \\");
    std::vector<CString> names;
    SplitString(strPath, "\\", names, true);
    return names;
}

CString NormalizeKeyPath(const CString& strKeyPath) {
    CString strPath;
    for (const CString& name : SplitKeyPath(strKeyPath)) {
        if (!strPath.IsEmpty()) strPath += "\\";
        strPath += name;
    }
    return strPath;
}
