#include "app/ui/ColumnShare.h"

#include <algorithm>

namespace velmora::app {

std::vector<int> ShareColumns(const std::vector<int>& widths, const std::vector<bool>& shares, int available,
                              int minimum) {
    std::vector<int> result;
    result.reserve(widths.size());
    for (const int width : widths) result.push_back(std::max(width, 0));
    minimum = std::max(minimum, 0);
    long long fixed = 0;
    long long shared = 0;
    std::vector<std::size_t> sharing;
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (i < shares.size() && shares[i]) {
            sharing.push_back(i);
            shared += result[i];
        } else {
            fixed += result[i];
        }
    }
    if (sharing.empty()) return result;
    const long long room = std::max<long long>(available - fixed, 0);
    long long given = 0;
    for (std::size_t n = 0; n < sharing.size(); ++n) {
        const std::size_t i = sharing[n];
        long long width = 0;
        if (n + 1 == sharing.size()) {
            width = room - given;
        } else if (shared > 0) {
            width = room * result[i] / shared;
        } else {
            width = room / static_cast<long long>(sharing.size());
        }
        given += width;
        result[i] = static_cast<int>(std::max<long long>(width, minimum));
    }
    return result;
}

}  // namespace velmora::app
