#include "app/registry/KeyPath.h"

void SplitString(const CStringW& source, const char16_t* separators, std::vector<CStringW>& pieces,
                 bool trim) {
    CStringW text(source);
    if (trim) text.Trim(u" |*\r\n\t");
    const CStringW splitAt(separators != nullptr ? separators : u"");

    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = text.find_first_not_of(splitAt, pos);
        if (start == CStringW::npos) break;
        std::size_t end = text.find_first_of(splitAt, start);
        if (end == CStringW::npos) end = text.size();
        CStringW piece = text.substr(start, end - start);
        if (trim) piece.Trim(u" \r\n\t");
        if (!piece.IsEmpty()) pieces.push_back(piece);
        pos = end;
    }
}

std::vector<CStringW> SplitKeyPath(const CStringW& keyPath) {
    CStringW path(keyPath);
    path.Trim(u" \\");
    std::vector<CStringW> names;
    SplitString(path, u"\\", names, true);
    return names;
}

CStringW NormalizeKeyPath(const CStringW& keyPath) {
    CStringW path;
    for (const CStringW& name : SplitKeyPath(keyPath)) {
        if (!path.IsEmpty()) path += u"\\";
        path += name;
    }
    return path;
}
