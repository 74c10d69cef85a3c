#include "app/platform/SysnativePath.h"

namespace {

constexpr char16_t kSystem32[] = u"system32";
constexpr int kSystem32Length = sizeof kSystem32 / sizeof kSystem32[0] - 1;

bool IsSeparator(char16_t ch) { return ch == u'\\' || ch == u'/'; }

// A character as the file system compares it here: ASCII letters in one
// case, both separators as one.
char16_t Folded(char16_t ch) { return ch == u'/' ? u'\\' : velmora::FoldAscii(ch); }

}  // namespace

CStringW PathThroughSysnative(const CStringW& path, const CStringW& windowsFolder) {
    // The folder without separators at its end.
    int folderEnd = windowsFolder.GetLength();
    while (folderEnd > 0 && IsSeparator(windowsFolder[static_cast<std::size_t>(folderEnd - 1)])) --folderEnd;
    if (folderEnd == 0) return path;

    const int textLength = path.GetLength();
    if (textLength < folderEnd) return path;
    for (int i = 0; i < folderEnd; ++i) {
        if (Folded(path[static_cast<std::size_t>(i)]) != Folded(windowsFolder[static_cast<std::size_t>(i)]))
            return path;
    }

    int pos = folderEnd;
    while (pos < textLength && IsSeparator(path[static_cast<std::size_t>(pos)])) ++pos;
    if (pos == folderEnd || textLength - pos < kSystem32Length) return path;
    for (int i = 0; i < kSystem32Length; ++i) {
        if (Folded(path[static_cast<std::size_t>(pos + i)]) != kSystem32[i]) return path;
    }
    const int rest = pos + kSystem32Length;
    if (rest < textLength && !IsSeparator(path[static_cast<std::size_t>(rest)])) return path;
    return path.Left(pos) + u"Sysnative" + path.Mid(rest);
}
