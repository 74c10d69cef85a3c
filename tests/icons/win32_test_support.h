// Helpers of the Windows icon tests: paths of the prepared files, scratch
// directories, and an icon's pixels.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace velmora::testing {

// A Linux path as Wine sees it (drive Z: is the root).
inline std::string WinePath(const std::string& linuxPath) {
    std::string path = "Z:" + linuxPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

inline std::string TestFilesDirectory() {
    const char* dir = std::getenv("VELMORA_ICON_TEST_FILES");
    return dir != nullptr ? WinePath(dir) : std::string();
}

// Wine's own 32-bit images (PE32), prepared beside the other test files.
inline std::string Wine32Directory() { return TestFilesDirectory() + "\\wine32"; }

inline std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// A fresh, empty directory under the temporary directory.
inline std::string MakeScratchDirectory(const char* name) {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    const std::string stem = std::string(base) + "velmora-icons-" + name + "-";
    for (unsigned n = GetTickCount();; ++n) {
        const std::string dir = stem + std::to_string(n);
        if (CreateDirectoryA(dir.c_str(), nullptr)) return dir;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return dir;
    }
}

inline std::vector<std::string> FilesIn(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

// A 32 x 32 monochrome icon of no interest, for probing handles.
inline HICON CreateTestIcon() {
    static const BYTE andBits[128] = {}, xorBits[128] = {};
    return CreateIcon(nullptr, 32, 32, 1, 1, andBits, xorBits);
}

// Whether icons or bitmaps were made, or left, between its construction and
// a check, seen through the process's GDI handles: an icon is made of
// bitmaps and holds them until it is destroyed. Wine hands freed GDI handle
// slots out again first (last freed, first reused) and counts each slot's
// generation in the handle's top byte (1 to 0xFE, then 1 again). The probe
// makes a batch of bitmaps and deletes them in reverse order, so that these
// slots are the next ones given out: a check that makes the same batch again
// gets the same slots when everything made in between has been released, and
// the same slots exactly one generation on when nothing was made at all.
// (GetGuiResources counts nothing under Wine, and icon handles are shared
// with the other programs of the prefix.)
class HandleProbe {
public:
    HandleProbe() : m_slots(BitmapSlots()) {}

    // No icon or bitmap was created since, not even one destroyed again.
    bool NothingCreatedSince() const {
        const std::vector<DWORD> now = BitmapSlots();
        for (std::size_t i = 0; i < now.size(); ++i) {
            const DWORD generation = m_slots[i] >> 24;
            const DWORD next = generation == 0xFE ? 1 : generation + 1;
            if ((now[i] & 0x00FFFFFF) != (m_slots[i] & 0x00FFFFFF) || now[i] >> 24 != next) return false;
        }
        return true;
    }
    // Every icon and bitmap created since has been destroyed.
    bool NothingLeftSince() const {
        std::vector<DWORD> now = BitmapSlots(), before = m_slots;
        for (DWORD& h : now) h = LOWORD(h);
        for (DWORD& h : before) h = LOWORD(h);
        std::sort(now.begin(), now.end());
        std::sort(before.begin(), before.end());
        return now == before;
    }

private:
    static constexpr int kBatch = 32;

    static std::vector<DWORD> BitmapSlots() {
        std::vector<HBITMAP> bitmaps;
        for (int i = 0; i < kBatch; ++i) bitmaps.push_back(CreateBitmap(4, 4, 1, 1, nullptr));
        std::vector<DWORD> slots;
        for (HBITMAP bitmap : bitmaps)
            slots.push_back(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(bitmap)));
        for (auto it = bitmaps.rbegin(); it != bitmaps.rend(); ++it) DeleteObject(*it);
        return slots;
    }

    std::vector<DWORD> m_slots;
};

struct IconBits {
    int width = 0;
    int height = 0;
    bool hasColour = false;
    std::vector<std::uint8_t> colour;  // 32-bit rows, bottom-up
    std::vector<std::uint8_t> mask;    // 1-bit rows, bottom-up
};

inline IconBits ReadIconBits(HICON icon) {
    IconBits bits;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return bits;
    BITMAP bm{};
    GetObjectA(info.hbmMask, sizeof bm, &bm);
    bits.hasColour = info.hbmColor != nullptr;
    bits.width = bm.bmWidth;
    bits.height = bits.hasColour ? bm.bmHeight : bm.bmHeight / 2;
    HDC dc = CreateCompatibleDC(nullptr);
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD c[2];
    } bi{};
    bi.h.biSize = sizeof(BITMAPINFOHEADER);
    bi.h.biWidth = bits.width;
    bi.h.biHeight = bits.height;
    bi.h.biPlanes = 1;
    bi.h.biBitCount = 32;
    if (bits.hasColour) {
        bits.colour.resize(static_cast<std::size_t>(bits.width) * bits.height * 4);
        GetDIBits(dc, info.hbmColor, 0, bits.height, bits.colour.data(), reinterpret_cast<BITMAPINFO*>(&bi),
                  DIB_RGB_COLORS);
    }
    bi.h.biBitCount = 1;
    bi.h.biHeight = bm.bmHeight;
    bits.mask.resize(static_cast<std::size_t>((bits.width + 31) / 32) * 4 * bm.bmHeight);
    GetDIBits(dc, info.hbmMask, 0, bm.bmHeight, bits.mask.data(), reinterpret_cast<BITMAPINFO*>(&bi),
              DIB_RGB_COLORS);
    bits.mask.resize(static_cast<std::size_t>((bits.width + 31) / 32) * 4 * bits.height);
    DeleteDC(dc);
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return bits;
}

}  // namespace velmora::testing
