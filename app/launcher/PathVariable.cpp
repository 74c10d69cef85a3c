#include "app/launcher/PathVariable.h"

#include "app/runcmd/PathList.h"

namespace {

bool Names(const CStringW& entry, const CStringW& folder) {
    CStringW bare(entry);
    return !bare.Trim(u" \t\"").IsEmpty() && SameFolder(entry, folder);
}

}  // namespace

bool PathListHas(const CStringW& list, const CStringW& folder) {
    for (const CStringW& entry : PathListEntries(list)) {
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
    for (const CStringW& entry : PathListEntries(list)) {
        if (Names(entry, folder)) continue;
        if (!first) kept += u";";
        kept += entry;
        first = false;
    }
    return kept;
}

std::vector<CStringW> PathFoldersBefore(const CStringW& list, const CStringW& folder) {
    std::vector<CStringW> folders;
    for (const CStringW& entry : PathListEntries(list)) {
        if (Names(entry, folder)) break;
        CStringW clean = entry;
        clean.Trim(u" \t");
        clean.Trim(u"\"");
        if (!clean.IsEmpty()) folders.push_back(clean);
    }
    return folders;
}
