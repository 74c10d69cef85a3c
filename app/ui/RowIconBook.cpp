#include "app/ui/RowIconBook.h"

namespace velmora::app {

namespace {

CStringW Folded(const CStringW& file) {
    CStringW folded(file);
    return folded.MakeLower();
}

}  // namespace

CStringW IconFileOf(const RunEntry& entry) {
    if (entry.broken) return CStringW();
    return TargetFileOf(entry.target);
}

int RowIconBook::ImageOf(const CStringW& file, bool* read) {
    *read = false;
    if (file.IsEmpty()) return kStandInImage;
    const auto [place, added] = m_images.emplace(Folded(file), kBeingRead);
    if (added) {
        *read = true;
        ++m_pending;
    }
    return place->second == kBeingRead ? kStandInImage : place->second;
}

bool RowIconBook::Awaits(unsigned generation, const CStringW& file) const {
    if (generation != m_generation) return false;
    const auto known = m_images.find(Folded(file));
    return known != m_images.end() && known->second == kBeingRead;
}

bool RowIconBook::Record(unsigned generation, const CStringW& file, int image) {
    if (!Awaits(generation, file)) return false;
    m_images[Folded(file)] = image < 0 ? kStandInImage : image;
    --m_pending;
    return true;
}

unsigned RowIconBook::Restart() {
    m_images.clear();
    m_pending = 0;
    return ++m_generation;
}

}  // namespace velmora::app
