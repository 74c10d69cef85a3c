#include "app/launcher/NameSearch.h"

namespace {

CStringW Folded(const CStringW& text) {
    CStringW folded = text;
    for (char16_t& unit : folded) unit = velmora::FoldAscii(unit);
    return folded;
}

CStringW WithoutClosingSlash(const CStringW& folder) {
    return !folder.IsEmpty() && folder.back() == u'\\' ? folder.Left(folder.GetLength() - 1) : folder;
}

}  // namespace

bool FolderListings::Has(const CStringW& folder, const CStringW& fileName) {
    const CStringW key = Folded(WithoutClosingSlash(folder));
    auto found = m_names.find(key);
    if (found == m_names.end()) {
        std::set<CStringW> names;
        for (const CStringW& name : m_list(folder)) names.insert(Folded(name));
        found = m_names.emplace(key, std::move(names)).first;
    }
    return found->second.count(Folded(fileName)) != 0;
}

CStringW FirstAnswer(const NameSearch& search, const CStringW& name, FolderListings& listings,
                     const CStringW& own) {
    for (const CStringW& folder : search.folders) {
        if (folder.IsEmpty()) continue;
        for (const CStringW& extension : search.extensions) {
            if (!listings.Has(folder, name + extension)) continue;
            const CStringW file = WithoutClosingSlash(folder) + u"\\" + name + extension;
            if (velmora::CompareNoCase(file, own) != 0) return file;
        }
    }
    return CStringW();
}

bool LiesIn(const CStringW& file, const CStringW& folder) {
    const int slash = file.ReverseFind(u'\\');
    return slash > 0 && !folder.IsEmpty() &&
           velmora::CompareNoCase(file.Left(slash), WithoutClosingSlash(folder)) == 0;
}
