#include "app/runcmd/PathList.h"

#include <utility>

namespace {

constexpr const char16_t* kBlanks = u" \t\r\n";

CStringW Trimmed(const CStringW& text) {
    CStringW copy(text);
    copy.Trim(kBlanks);
    return copy;
}

// The folder without blanks, quotes at its ends and trailing backslashes
// (a drive's own backslash stays).
CStringW BareFolder(const CStringW& folder) {
    CStringW bare = Trimmed(folder);
    if (bare.size() >= 2 && bare.front() == u'"' && bare.back() == u'"')
        bare = bare.Mid(1, bare.GetLength() - 2);
    else if (!bare.empty() && bare.front() == u'"')
        bare = bare.Mid(1);
    bare.Trim(kBlanks);
    while (bare.size() > 1 && bare.back() == u'\\' && !(bare.size() == 3 && bare[1] == u':')) bare.pop_back();
    return bare;
}

}  // namespace

std::vector<CStringW> PathListEntries(const CStringW& value) {
    std::vector<CStringW> entries(1);
    bool quoted = false;
    for (const char16_t unit : value) {
        if (unit == u'"') quoted = !quoted;
        if (unit == u';' && !quoted) {
            entries.emplace_back();
            continue;
        }
        entries.back().push_back(unit);
    }
    return entries;
}

std::vector<CStringW> SplitPathList(const CStringW& value) {
    std::vector<CStringW> folders;
    for (CStringW entry : PathListEntries(value)) {
        std::erase(entry, u'"');
        entry.Trim(kBlanks);
        if (!entry.empty()) folders.push_back(std::move(entry));
    }
    return folders;
}

bool SamePathList(const CStringW& stored, const std::vector<CStringW>& folders) {
    const std::vector<CStringW> listed = SplitPathList(stored);
    std::size_t next = 0;
    for (const CStringW& item : folders) {
        const CStringW folder = Trimmed(item);
        if (folder.empty()) continue;
        if (next >= listed.size() || listed[next] != folder) return false;
        ++next;
    }
    return next == listed.size();
}

CStringW JoinPathList(const std::vector<CStringW>& folders) {
    CStringW joined;
    for (const CStringW& item : folders) {
        CStringW folder = Trimmed(item);
        if (folder.empty()) continue;
        const bool quoted = folder.size() >= 2 && folder.front() == u'"' && folder.back() == u'"';
        if (!quoted && folder.find(u';') != CStringW::npos) {
            // No folder name holds a quote: stray ones go, and the quotes
            // around it keep the semicolon inside.
            CStringW bare;
            for (const char16_t unit : folder) {
                if (unit != u'"') bare.push_back(unit);
            }
            folder = u"\"" + bare + u"\"";
        }
        if (!joined.empty()) joined += u";";
        joined += folder;
    }
    return joined;
}

bool HoldsEnvironmentVariable(const CStringW& text) {
    const std::size_t open = text.find(u'%');
    if (open == CStringW::npos) return false;
    const std::size_t close = text.find(u'%', open + 1);
    return close != CStringW::npos && close > open + 1;
}

bool SameFolder(const CStringW& a, const CStringW& b) {
    return velmora::CompareNoCase(BareFolder(a), BareFolder(b)) == 0;
}

bool AddPathFolder(std::vector<CStringW>& folders, const CStringW& folder) {
    // Typed quotes are storage's business, as in the folders read.
    CStringW unquoted;
    for (const char16_t unit : folder) {
        if (unit != u'"') unquoted.push_back(unit);
    }
    const CStringW added = Trimmed(unquoted);
    if (BareFolder(added).empty()) return false;
    for (const CStringW& listed : folders) {
        if (SameFolder(listed, added)) return false;
    }
    folders.push_back(added);
    return true;
}

bool RemovePathFolder(std::vector<CStringW>& folders, std::size_t index) {
    if (index >= folders.size()) return false;
    folders.erase(folders.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

bool MovePathFolderUp(std::vector<CStringW>& folders, std::size_t index) {
    if (index == 0 || index >= folders.size()) return false;
    std::swap(folders[index - 1], folders[index]);
    return true;
}

bool MovePathFolderDown(std::vector<CStringW>& folders, std::size_t index) {
    if (index + 1 >= folders.size()) return false;
    std::swap(folders[index], folders[index + 1]);
    return true;
}

std::vector<PathFolder> MarkPathFolders(const std::vector<CStringW>& folders, const FolderCheck& exists) {
    std::vector<PathFolder> marked;
    marked.reserve(folders.size());
    for (const CStringW& folder : folders) {
        PathFolder item;
        item.folder = folder;
        CStringW bare = Trimmed(folder);
        if (bare.size() >= 2 && bare.front() == u'"' && bare.back() == u'"')
            bare = bare.Mid(1, bare.GetLength() - 2);
        item.missing = bare.empty() || !exists(bare);
        marked.push_back(std::move(item));
    }
    return marked;
}
