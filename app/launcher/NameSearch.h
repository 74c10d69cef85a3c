// Where a bare name is looked for and what answers it first. The Run box
// (ShellExecuteEx) looks in the Windows folder, System32 and the PATH folders
// before App Paths; a new terminal looks in the PATH folders. In each folder
// the name is tried with every extension of PATHEXT, in order.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <vector>

#include "base/wide_text.h"

struct NameSearch {
    std::vector<CStringW> folders;     // in the order they are searched
    std::vector<CStringW> extensions;  // ".COM", ".EXE", ...
};

// The names of the files in folders, each folder listed once and asked
// without regard to letter case.
class FolderListings {
public:
    using List = std::function<std::vector<CStringW>(const CStringW& folder)>;
    explicit FolderListings(List list) : m_list(std::move(list)) {}

    bool Has(const CStringW& folder, const CStringW& fileName);

private:
    List m_list;
    std::map<CStringW, std::set<CStringW>> m_names;  // by folded folder, folded names
};

// `folder` + "\" + `name` + the extension, for the first folder and
// extension whose file the listings hold and which is not `own`; empty when
// none is.
CStringW FirstAnswer(const NameSearch& search, const CStringW& name, FolderListings& listings,
                     const CStringW& own);

// Whether `file` lies directly in `folder` (letter case and a closing
// backslash aside).
bool LiesIn(const CStringW& file, const CStringW& folder);
