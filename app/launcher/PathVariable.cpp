#include "app/launcher/PathVariable.h"

namespace {

// An entry as compared: no blanks or quotes around it, no trailing
// backslashes (but a drive's root keeps one: "C:\").
CStringW Comparable(CStringW entry) {
    entry.Trim(u" \t");
    entry.Trim(u"\"");
    entry.Trim(u" \t");
    while (entry.GetLength() > 3 && entry.GetAt(entry.GetLength() - 1) == u'\\') {
        entry = entry.Left(entry.GetLength() - 1);
    }
    return entry;
}

bool Names(const CStringW& entry, const CStringW& folder) {
    const CStringW a = Comparable(entry);
    return !a.IsEmpty() && velmora::CompareNoCase(a, Comparable(folder)) == 0;
}

// The entries of `list` as they are written, without their separators.
std::vector<CStringW> Split(const CStringW& list) {
    std::vector<CStringW> entries;
    int start = 0;
    for (;;) {
        const int semicolon = list.Find(u';', start);
        if (semicolon < 0) {
            entries.push_back(list.Mid(start));
            return entries;
        }
        entries.push_back(list.Mid(start, semicolon - start));
        start = semicolon + 1;
    }
}

}  // namespace

bool PathListHas(const CStringW& list, const CStringW& folder) {
    for (const CStringW& entry : Split(list)) {
        if (Names(entry, folder)) return true;
    }
    return false;
}

CStringW PathListWith(const CStringW& list, const CStringW& folder) {
    if (PathListHas(list, folder)) return list;
    if (list.IsEmpty() || list.GetAt(list.GetLength() - 1) == u';') return list + folder;
    return list + u";" + folder;
}

CStringW PathListWithout(const CStringW& list, const CStringW& folder) {
    CStringW kept;
    bool first = true;
    for (const CStringW& entry : Split(list)) {
        if (Names(entry, folder)) continue;
        if (!first) kept += u";";
        kept += entry;
        first = false;
    }
    return kept;
}

std::vector<CStringW> PathFoldersBefore(const CStringW& list, const CStringW& folder) {
    std::vector<CStringW> folders;
    for (const CStringW& entry : Split(list)) {
        if (Names(entry, folder)) break;
        CStringW clean = entry;
        clean.Trim(u" \t");
        clean.Trim(u"\"");
        if (!clean.IsEmpty()) folders.push_back(clean);
    }
    return folders;
}
