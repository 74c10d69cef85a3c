#include "app/SysnativePath.h"

#include <cstring>

#include "base/mbcs.h"

namespace {

constexpr char kSystem32[] = "system32";
constexpr int kSystem32Length = sizeof kSystem32 - 1;

bool IsSeparator(char ch) { return ch == '\\' || ch == '/'; }

// A single-byte character as the file system compares it: ASCII letters in
// one case, both separators as one.
char Folded(char ch) {
    if (ch >= 'A' && ch <= 'Z') return static_cast<char>(ch - 'A' + 'a');
    return ch == '/' ? '\\' : ch;
}

}  // namespace

CString PathThroughSysnative(const CString& path, const CString& windowsFolder) {
    const char* folder = windowsFolder.GetString();
    const int folderLength = windowsFolder.GetLength();
    // The folder without separators at its end; a trail byte 0x5C is part of
    // its character and stays.
    int folderEnd = 0;
    for (int pos = 0; pos < folderLength;) {
        const int length = velmora::CharLengthAt(folder, folderLength, pos);
        if (!IsSeparator(folder[pos])) folderEnd = pos + length;
        pos += length;
    }
    if (folderEnd == 0) return path;

    // Both texts are walked by characters, so that a match ends on a
    // character boundary of the path as well.
    const char* text = path.GetString();
    const int textLength = path.GetLength();
    int pos = 0;
    while (pos < folderEnd) {
        const int length = velmora::CharLengthAt(folder, folderEnd, pos);
        if (pos + length > textLength || velmora::CharLengthAt(text, textLength, pos) != length) return path;
        const bool same = length == 2 ? std::memcmp(text + pos, folder + pos, 2) == 0
                                      : Folded(text[pos]) == Folded(folder[pos]);
        if (!same) return path;
        pos += length;
    }

    const int separatorsStart = pos;
    while (pos < textLength && IsSeparator(text[pos])) ++pos;
    if (pos == separatorsStart || textLength - pos < kSystem32Length) return path;
    for (int i = 0; i < kSystem32Length; ++i) {
        if (Folded(text[pos + i]) != kSystem32[i]) return path;
    }
    const int rest = pos + kSystem32Length;
    if (rest < textLength && !IsSeparator(text[rest])) return path;
    return path.Left(pos) + "Sysnative" + path.Mid(rest);
}
