#include "app/cli/TextTable.h"

#include <algorithm>

namespace {

bool IsWide(char16_t unit) {
    return (unit >= 0x1100 && unit <= 0x115F) || (unit >= 0x2E80 && unit <= 0x303E) ||
           (unit >= 0x3041 && unit <= 0x33FF) || (unit >= 0x3400 && unit <= 0x4DBF) ||
           (unit >= 0x4E00 && unit <= 0x9FFF) || (unit >= 0xA000 && unit <= 0xA4CF) ||
           (unit >= 0xAC00 && unit <= 0xD7A3) || (unit >= 0xF900 && unit <= 0xFAFF) ||
           (unit >= 0xFE30 && unit <= 0xFE4F) || (unit >= 0xFF00 && unit <= 0xFF60) ||
           (unit >= 0xFFE0 && unit <= 0xFFE6);
}

}  // namespace

int DisplayWidth(const CStringW& text) {
    int width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            width += 2;
            ++i;
        } else {
            width += IsWide(unit) ? 2 : 1;
        }
    }
    return width;
}

CStringW AlignedTable(const std::vector<std::vector<CStringW>>& rows) {
    std::vector<int> widths;
    for (const auto& row : rows) {
        if (widths.size() < row.size()) widths.resize(row.size(), 0);
        for (std::size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], DisplayWidth(row[column]));
    }
    CStringW out;
    for (const auto& row : rows) {
        CStringW line;
        for (std::size_t column = 0; column < row.size(); ++column) {
            if (column > 0) line += u"  ";
            line += row[column];
            if (column + 1 < row.size()) line.append(widths[column] - DisplayWidth(row[column]), u' ');
        }
        line.TrimRight(u" ");
        out += line + u"\n";
    }
    return out;
}
