#include "app/ui/RowIcons_win32.h"

#include "app/ui/RunManagerMessages_win32.h"

RowIcons::RowIcons(FileIconLoader::Reader reader) : m_loader(std::move(reader)) {}

bool RowIcons::Start(HWND window, CListCtrl& list, int side) {
    m_window = window;
    m_list = &list;
    MakeImageList(side);
    return m_loader.Start(window, velmora::app::kIconsReadMessage);
}

void RowIcons::MakeImageList(int side) {
    // Icons asked for the old list and not read yet are not read, and those
    // being read now are not taken into the new one (another generation).
    m_loader.Forget();
    m_toAsk.clear();
    m_book.Restart();
    m_side = side;
    // The list takes the new image list before the old one goes. The
    // stand-in is the system's application icon.
    CImageList icons;
    icons.Create(side, side, ILC_COLOR32 | ILC_MASK, 64, 64);
    icons.Add(::LoadIconW(nullptr, MAKEINTRESOURCEW(32512)));
    if (m_list != nullptr) m_list->SetSmallImageList(icons);
    m_images.Attach(icons.Detach());
}

int RowIcons::ImageOf(const RunEntry& entry) {
    // Drawing never waits on a file: the worker reads it, after the paint.
    const CStringW file = velmora::app::IconFileOf(entry);
    bool read = false;
    const int image = m_book.ImageOf(file, &read);
    if (read) {
        if (m_toAsk.empty() && m_window != nullptr)
            ::PostMessageW(m_window, velmora::app::kAskIconsMessage, 0, 0);
        m_toAsk.emplace_back(m_book.Generation(), file);
    }
    return image;
}

void RowIcons::AskIcons() {
    for (const auto& [generation, file] : std::exchange(m_toAsk, {})) m_loader.Ask(generation, file, m_side);
}

std::vector<CStringW> RowIcons::TakeIconsRead() {
    std::vector<CStringW> shown;
    for (FileIconLoader::Result& result : m_loader.TakeResults()) {
        // From before a new image list (its icon goes with `result`).
        if (!m_book.Awaits(result.generation, result.file)) continue;
        // The image list keeps a copy.
        const int image = result.icon ? m_images.Add(result.icon.Get()) : velmora::app::kStandInImage;
        m_book.Record(result.generation, result.file, image);
        if (image > velmora::app::kStandInImage) shown.push_back(std::move(result.file));
    }
    return shown;
}
