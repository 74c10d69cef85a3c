// The main dialog and the manager on a display of another DPI, under Wine
// with the prefix's LogPixels set (ctest runs this program at 120, 144 and
// 192 DPI, telling it the DPI in VELMORA_TEST_DPI): window, client and
// region sizes, control places, every text inside its rectangle measured in
// the control's own font (in Chinese and in English), the artwork of the
// DPI's step, and a move to a monitor of another DPI.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/runcmd/RunEntrySort.h"
#include "app/ui/ImportPreviewDlg_win32.h"
#include "app/ui/OptionsDlg_win32.h"
#include "app/ui/PathEditDlg_win32.h"
#include "app/ui/RunManagerLayout.h"
#include "app/ui/SkinArtwork.h"
#include "app/ui/TarvelDlgLayout.h"
#include "dialog_harness.h"
#include "res/resource.h"
#include "skin/button_looks.h"
#include "skin/corner_region.h"
#include "skin/dpi_scale.h"
#include "skin/frame_layout.h"
#include "skin/packed_bitmap_win32.h"
#include "skin/win32_facts.h"
#include "wnd/DC.h"
#include "wnd/Gdi.h"

namespace {

using velmora::app::LayOutMainDialog;
using velmora::app::MainDialogLayout;
using velmora::skin::ScaleForDpi;
using velmora::skin::SkinRect;

int DisplayDpi() {
    const char* text = std::getenv("VELMORA_TEST_DPI");
    return text != nullptr ? std::atoi(text) : 0;
}

// The DPI the artwork step of `dpi` is drawn for.
int ArtworkDpi(int dpi) { return velmora::skin::DpiOfPercent(velmora::skin::ArtworkPercentForDpi(dpi)); }

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

SkinRect PlaceOf(HWND hChild) {
    RECT r{};
    ::GetWindowRect(hChild, &r);
    ::MapWindowPoints(nullptr, ::GetParent(hChild), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

// The size `text` takes in `hFont` on the window's own DC.
SIZE TextExtent(HWND hWnd, HFONT hFont, const CStringW& text) {
    SIZE extent{};
    const HDC hDC = ::GetDC(hWnd);
    const HGDIOBJ old = ::SelectObject(hDC, hFont);
    ::GetTextExtentPoint32W(hDC, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()),
                            &extent);
    ::SelectObject(hDC, old);
    ::ReleaseDC(hWnd, hDC);
    return extent;
}

// The height of a line of `hFont` on the window's DC.
int LineHeight(HWND hWnd, HFONT hFont) {
    TEXTMETRICW metrics{};
    const HDC hDC = ::GetDC(hWnd);
    const HGDIOBJ old = ::SelectObject(hDC, hFont);
    ::GetTextMetricsW(hDC, &metrics);
    ::SelectObject(hDC, old);
    ::ReleaseDC(hWnd, hDC);
    return metrics.tmHeight;
}

// The windows' words in `language` while it lives, Chinese again after.
class ScopedLanguage {
public:
    explicit ScopedLanguage(velmora::Language language) { velmora::UseLanguage(language); }
    ~ScopedLanguage() { velmora::UseLanguage(velmora::Language::kChinese); }
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;
};

constexpr velmora::Language kBothLanguages[] = {velmora::Language::kChinese, velmora::Language::kEnglish};

// The side of a check box's box with the gap after it, and the room a list
// heading leaves its text, at 96 DPI.
constexpr int kCheckBoxSide = 18;
constexpr int kHeadingPadding = 12;

// Every word a tool window shows, inside its control at the window's DPI and
// measured in the control's own font: the skin's labels and buttons (a
// button's between its rounded ends), check boxes after their box, and the
// headings of its lists. The frame's caption buttons draw no text; a status
// line that shortens its text is measured as it draws it.
void ExpectWordsFit(const CQebDialog& window, const std::string& name) {
    const int at = window.Dpi();
    const int ends = ScaleForDpi(velmora::skin::StripFramesOf(100).cap, at);
    const std::string where = name + " at " + std::to_string(at) + " in " +
                              velmora::LanguageName(velmora::CurrentLanguage());
    for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) == 0) continue;
        const int id = ::GetDlgCtrlID(child);
        if (id == CQebDialog::ID_CAPTION_CLOSE || id == CQebDialog::ID_CAPTION_MINIMIZE ||
            id == CQebDialog::ID_CAPTION_MAXIMIZE)
            continue;
        RECT client{};
        ::GetClientRect(child, &client);
        wchar_t className[32] = {};
        ::GetClassNameW(child, className, 32);
        const auto* skin = dynamic_cast<const CQebTransButton*>(CWnd::FromHandlePermanent(child));
        if (skin != nullptr) {
            const CStringW text = skin->m_shownText.IsEmpty() ? skin->GetWindowText() : skin->m_shownText;
            if (text.IsEmpty()) continue;
            const SIZE extent = TextExtent(child, skin->m_pFont, text);
            const int sides = skin->m_mode == CQebTransButton::kBitmapMode ? 2 * ends : 0;
            EXPECT_LE(extent.cx, client.right - sides) << N(text) << ", " << where;
            EXPECT_LE(extent.cy, client.bottom) << N(text) << ", " << where;
        } else if (std::wstring(className) == L"Button") {
            const auto font = reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0));
            wchar_t caption[128] = {};
            ::GetWindowTextW(child, caption, 128);
            const CStringW text = velmora::FromWin(caption);
            EXPECT_LE(TextExtent(child, font, text).cx + ScaleForDpi(kCheckBoxSide, at), client.right)
                << N(text) << ", " << where;
        } else if (std::wstring(className) == L"SysListView32") {
            const auto font = reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0));
            wchar_t heading[128] = {};
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = heading;
            column.cchTextMax = 128;
            for (int i = 0; ::SendMessageW(child, LVM_GETCOLUMNW, static_cast<WPARAM>(i),
                                           reinterpret_cast<LPARAM>(&column)) != 0;
                 ++i) {
                const CStringW text = velmora::FromWin(heading);
                EXPECT_LE(TextExtent(child, font, text).cx + ScaleForDpi(kHeadingPadding, at), column.cx)
                    << N(text) << ", " << where;
            }
        }
    }
}

class TarvelDlgDpiTest : public testing::TestWithParam<velmora::Language> {
protected:
    void SetUp() override {
        dpi = DisplayDpi();
        ASSERT_GT(dpi, 96) << "VELMORA_TEST_DPI names the display's DPI";
        ASSERT_TRUE(dlg.Create());
        PumpMessages();
    }
    void TearDown() override {
        if (dlg.m_hWnd != nullptr) dlg.DestroyWindow();
        PumpMessages();
    }

    // Everything that depends on the window's DPI, checked for `at`.
    void ExpectLaidOutFor(int at) {
        const MainDialogLayout layout = LayOutMainDialog(at);
        RECT window{};
        RECT client{};
        dlg.GetWindowRect(&window);
        dlg.GetClientRect(&client);
        EXPECT_EQ(window.right - window.left, layout.window.cx);
        EXPECT_EQ(window.bottom - window.top, layout.window.cy);
        EXPECT_EQ(client.right, layout.window.cx);
        EXPECT_EQ(client.bottom, layout.window.cy);

        EXPECT_EQ(PlaceOf(Control(kUsageLabelId)), layout.usageLabel);
        EXPECT_EQ(PlaceOf(Control(kCommandNameLabelId)), layout.commandNameLabel);
        EXPECT_EQ(PlaceOf(Control(IDC_EDIT_COMMAND_NAME)), layout.commandNameField);
        EXPECT_EQ(PlaceOf(Control(IDC_BTN_ADD_SELF)), layout.addSelfLink);
        // The add button keeps its place and width and takes the height of
        // the strip of its step (25 pixels at 100 %).
        const SkinRect add = PlaceOf(Control(IDC_BTN_ADD));
        EXPECT_EQ(add.left, layout.addButton.left);
        EXPECT_EQ(add.top, layout.addButton.top);
        EXPECT_EQ(add.Width(), layout.addButton.Width());
        EXPECT_EQ(add.Height(), ScaleForDpi(25, ArtworkDpi(at)));

        ExpectArtworkOfItsStep(at);
        ExpectCornersCut(layout.window.cx, layout.window.cy, at);
        ExpectTextsFit();
    }

    // The bitmaps are those drawn for the DPI's step, never the 100 % ones
    // stretched, and the caption buttons are as large as their images.
    void ExpectArtworkOfItsStep(int at) {
        const velmora::app::SkinArtwork artwork = velmora::app::SkinArtworkForDpi(at);
        const int step = artwork.artworkDpi;
        // The frame's caption and borders are the step's pieces.
        RECT client{};
        RECT inner{};
        dlg.GetClientRect(&client);
        dlg.GetInnerRect(&inner);
        EXPECT_EQ(inner.top, ScaleForDpi(27, step));
        EXPECT_EQ(inner.left - client.left, ScaleForDpi(3, step));
        EXPECT_EQ(client.right - inner.right, ScaleForDpi(3, step));
        EXPECT_EQ(client.bottom - inner.bottom, ScaleForDpi(3, step));
        // The bottom-right piece, copied 1:1, shows the step's frame bitmap
        // pixel for pixel in the window's corner.
        CBitmap frame;
        const HINSTANCE hResources = ::GetModuleHandleW(nullptr);
        ASSERT_TRUE(artwork.packed ? velmora::skin::LoadPackedSkinBitmap(frame, hResources, artwork.frameId)
                                   : frame.LoadBitmap(hResources, artwork.frameId) != FALSE);
        const SkinRect corner = artwork.framePieces[7];
        CMemoryDC skin(nullptr);
        const velmora::SelectedObject selected(skin, frame.GetSafeHandle());
        std::vector<COLORREF> drawn;
        for (int y = corner.top; y < corner.bottom; ++y)
            for (int x = corner.left; x < corner.right; ++x) drawn.push_back(::GetPixel(skin.GetSafeHdc(), x, y));
        EXPECT_EQ(ErasedPixels(dlg, RECT{client.right - corner.Width(), client.bottom - corner.Height(),
                                         client.right, client.bottom}),
                  drawn);
        // The caption buttons are the step's (18 pixels high at 100 %).
        const velmora::skin::CaptionButtonLayout& buttons = artwork.captionButtons;
        const SkinRect close = PlaceOf(Control(CQebDialog::ID_CAPTION_CLOSE));
        EXPECT_EQ(close.Height(), ScaleForDpi(18, step));
        EXPECT_EQ(close.Width(), buttons.closeWidth);
        EXPECT_EQ(PlaceOf(Control(CQebDialog::ID_CAPTION_MINIMIZE)).Width(), buttons.minWidth);
        // The close button ends the caption's right margin from the edge.
        EXPECT_EQ(close.right, client.right - buttons.rightMargin);
    }

    // The key-coloured corners of the skin leave the window: each window
    // corner pixel is out, the pixel a scanned block in from it is in, and
    // no more than the four blocks are cut.
    void ExpectCornersCut(int w, int h, int at) {
        CRgn region;
        ASSERT_TRUE(region.CreateRectRgn(0, 0, 0, 0));
        ASSERT_NE(::GetWindowRgn(dlg, region), ERROR);
        const int block = velmora::skin::CornerScanSize(at);
        for (const POINT& p : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}})
            EXPECT_FALSE(::PtInRegion(region, p.x, p.y)) << p.x << "," << p.y;
        for (const POINT& p : {POINT{block, block}, POINT{w - 1 - block, block}, POINT{block, h - 1 - block},
                               POINT{w - 1 - block, h - 1 - block}, POINT{w / 2, 0}, POINT{0, h / 2}})
            EXPECT_TRUE(::PtInRegion(region, p.x, p.y)) << p.x << "," << p.y;
        RECT box{};
        ::GetRgnBox(region, &box);
        EXPECT_EQ(box.right, w);
        EXPECT_EQ(box.bottom, h);
    }

    // Each text measured in the font it is drawn with, on its control's DC.
    void ExpectTextsFit() {
        for (UINT id : {kUsageLabelId, kCommandNameLabelId, static_cast<UINT>(IDC_BTN_ADD_SELF)}) {
            const CQebTransButton* label = &BoundControl<CQebTransButton>(dlg, id);
            const CStringW text = label->GetWindowText();
            RECT client{};
            label->GetClientRect(&client);
            const SIZE extent = TextExtent(*label, label->m_pFont, text);
            EXPECT_LE(extent.cx, client.right) << N(text);
            EXPECT_LE(extent.cy, client.bottom) << N(text);
            // Drawn in the text font of the window's DPI.
            EXPECT_EQ(label->m_pFont, CFont::TextFont(dlg.Dpi())) << N(text);
        }
        // The link's underlined look is its own font underlined: as large.
        LOGFONTW link{};
        ASSERT_TRUE(CFont::GetLogFont(BoundControl<CQebTransButton>(dlg, IDC_BTN_ADD_SELF).m_pFont, &link));
        EXPECT_EQ(link.lfHeight, -::MulDiv(9, dlg.Dpi(), 72));

        // The add button's text stays clear of the button's rounded ends: of
        // the 11-pixel caps of the 100 % strip, scaled (a larger step's caps
        // hold the same ends, drawn at the step's scale, and are wider only
        // by the plain fill the strip's 2-pixel middle leaves them).
        const CQebTransButton& addButton = BoundControl<CQebTransButton>(dlg, IDC_BTN_ADD);
        RECT add{};
        addButton.GetClientRect(&add);
        const int ends = ScaleForDpi(velmora::skin::StripFramesOf(100).cap, dlg.Dpi());
        const SIZE addText = TextExtent(addButton, addButton.m_pFont, addButton.GetWindowText());
        EXPECT_LE(addText.cx, add.right - 2 * ends);
        EXPECT_LE(addText.cy, add.bottom);

        // A line typed into the field is not cut at the bottom.
        const HWND hField = Control(IDC_EDIT_COMMAND_NAME);
        const auto fieldFont = reinterpret_cast<HFONT>(::SendMessageW(hField, WM_GETFONT, 0, 0));
        EXPECT_EQ(fieldFont, CFont::TextFont(dlg.Dpi()));
        RECT field{};
        ::GetClientRect(hField, &field);
        EXPECT_LE(LineHeight(hField, fieldFont), field.bottom);
        const SIZE typed = TextExtent(hField, fieldFont, CStringW(u"notepad_plus_2"));
        EXPECT_LE(typed.cx, field.right);

        // The title in the caption, whole before the caption buttons and
        // within the caption's height (the inner rectangle starts below it).
        RECT client{};
        RECT inner{};
        dlg.GetClientRect(&client);
        dlg.GetInnerRect(&inner);
        const int captionHeight = inner.top - client.top;
        const RECT title = dlg.CaptionTextRect();
        const SIZE titleExtent = TextExtent(dlg, dlg.CaptionFont(), dlg.GetWindowText());
        EXPECT_LE(title.left + titleExtent.cx, title.right);
        EXPECT_LE(title.top + titleExtent.cy, captionHeight);
        EXPECT_EQ(dlg.CaptionFont(), CFont::TextFont(dlg.Dpi()));
    }

    HWND Control(UINT id) const { return dlg.GetDlgItem(static_cast<int>(id)); }

    int dpi = 0;
    ScopedLanguage language{GetParam()};
    AppServices services = ServicesOverScratchKey(kAppPathsKey);
    CTarvelDlg dlg{services};
};

INSTANTIATE_TEST_SUITE_P(BothLanguages, TarvelDlgDpiTest, testing::ValuesIn(kBothLanguages));

TEST_P(TarvelDlgDpiTest, TheWindowIsLaidOutForTheDisplaysDpi) {
    // The window takes its display's DPI (under Wine, the prefix's LogPixels).
    EXPECT_EQ(dlg.Dpi(), dpi);
    // The caption and the three borders around the interior are checked
    // there, each its 100 % thickness scaled.
    ExpectLaidOutFor(dpi);
}

TEST_P(TarvelDlgDpiTest, TheDroppedIconIsReadAtTheScaledSize) {
    // (Drawn, a 48 x 48 image stretched looks the same as one read at the
    // size from this program's icon, which has no larger image.)
    const HDROP hDrop = MakeDropHandle({ModulePath()});
    dlg.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop), 0);
    ASSERT_NE(dlg.DroppedProgramIcon(), nullptr);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(dlg.DroppedProgramIcon(), &info));
    BITMAP colour{};
    ::GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(colour), &colour);
    if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
    EXPECT_EQ(colour.bmWidth, velmora::app::DroppedFileIconSize(dpi));
}

TEST_P(TarvelDlgDpiTest, AMoveToAnotherDpiLaysTheWindowOutAgain) {
    // To 100 % and back, and to the other large scale.
    for (int to : {96, dpi == 192 ? 144 : 192, dpi}) {
        SCOPED_TRACE(to);
        RECT window{};
        dlg.GetWindowRect(&window);
        const MainDialogLayout layout = LayOutMainDialog(to);
        const RECT suggested{window.left + 10, window.top + 5, window.left + 10 + layout.window.cx,
                             window.top + 5 + layout.window.cy};
        dlg.SendMessage(0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
        PumpMessages();
        EXPECT_EQ(dlg.Dpi(), to);
        dlg.GetWindowRect(&window);
        EXPECT_EQ(window.left, suggested.left);
        EXPECT_EQ(window.top, suggested.top);
        ExpectLaidOutFor(to);
    }
}

TEST(RunManagerDpiTest, ColumnsRowIconsAndButtonsAreScaled) {
    const int dpi = DisplayDpi();
    const AppServices services = ServicesOverScratchKey(CStringW(u"SOFTWARE\\VelmoraDpiTest\\App Paths"));
    CRunManagerDlg dlg(services);
    ASSERT_TRUE(dlg.Create());
    PumpMessages();
    EXPECT_EQ(dlg.Dpi(), dpi);
    RECT window{};
    dlg.GetWindowRect(&window);
    EXPECT_EQ(window.right - window.left, ScaleForDpi(700, dpi));
    EXPECT_EQ(window.bottom - window.top, ScaleForDpi(420, dpi));
    // The command, scope, mark and terminal columns at their designed widths;
    // target and Path value share the rest of the list's width.
    const int widths[kRunColumnCount] = {120, 200, 60, 70, 130, 50};
    const auto expectColumnsFill = [&dlg, &widths](int atDpi, int slack) {
        RECT client{};
        CommandList(dlg).GetClientRect(&client);
        int total = 0;
        for (int column = 0; column < kRunColumnCount; ++column) total += CommandList(dlg).GetColumnWidth(column);
        EXPECT_NEAR(total, client.right, slack) << "no empty header segment";
        for (int column : {0, 2, 3, 5})
            EXPECT_NEAR(CommandList(dlg).GetColumnWidth(column), ScaleForDpi(widths[column], atDpi), slack) << column;
        for (int column : {1, 4})
            EXPECT_GE(CommandList(dlg).GetColumnWidth(column), ScaleForDpi(widths[column], atDpi) - slack) << column;
    };
    expectColumnsFill(dpi, 0);
    int cx = 0;
    int cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(RowImages(dlg), &cx, &cy));
    EXPECT_EQ(cx, ScaleForDpi(16, dpi));
    EXPECT_EQ(cy, ScaleForDpi(16, dpi));
    RECT inner{};
    dlg.GetInnerRect(&inner);
    const velmora::app::RunManagerLayout layout =
        velmora::app::LayOutRunManager({inner.left, inner.top, inner.right, inner.bottom}, dpi);
    EXPECT_EQ(PlaceOf(CommandList(dlg)), layout.list);
    EXPECT_EQ(PlaceOf(dlg.GetDlgItem(IDC_RUN_STATUS)), layout.status);
    // The smallest size is scaled too.
    MINMAXINFO info{};
    dlg.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, ScaleForDpi(480, dpi));
    EXPECT_EQ(info.ptMinTrackSize.y, ScaleForDpi(300, dpi));

    // Moved to a monitor at 96 DPI: columns, row icons and places follow.
    dlg.GetWindowRect(&window);
    const RECT suggested{window.left, window.top, window.left + 700, window.top + 420};
    dlg.SendMessage(0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
    PumpMessages();
    EXPECT_EQ(dlg.Dpi(), 96);
    expectColumnsFill(96, 2);
    ASSERT_TRUE(ImageList_GetIconSize(RowImages(dlg), &cx, &cy));
    EXPECT_EQ(cx, 16);
    dlg.GetInnerRect(&inner);
    EXPECT_EQ(PlaceOf(CommandList(dlg)),
              velmora::app::LayOutRunManager({inner.left, inner.top, inner.right, inner.bottom}, 96).list);
    dlg.DestroyWindow();
    PumpMessages();
}

// Moves `window` to a monitor of `to` DPI, its size that of `at96` there.
void MoveToDpi(HWND hWnd, int to, SIZE at96) {
    RECT window{};
    ::GetWindowRect(hWnd, &window);
    const RECT suggested{window.left, window.top, window.left + ScaleForDpi(at96.cx, to),
                         window.top + ScaleForDpi(at96.cy, to)};
    ::SendMessageW(hWnd, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    PumpMessages();
}

TEST(RunManagerDpiTest, EveryWordFitsInBothLanguagesAtTheDisplaysDpiAnd96) {
    const CStringW scratch(u"SOFTWARE\\VelmoraDpiTest\\App Paths");
    WriteValue(HKEY_CURRENT_USER, (N(scratch) + "\\words.exe").c_str(), "", "C:\\gone\\words.exe");
    for (const velmora::Language language : kBothLanguages) {
        const ScopedLanguage speaking(language);
        const AppServices services = ServicesOverScratchKey(scratch);
        CRunManagerDlg dlg(services);
        ASSERT_TRUE(dlg.Create());
        PumpMessages();
        TypeInto(dlg, IDC_RUN_FILTER, u"word");
        for (const int to : {DisplayDpi(), 96}) {
            if (to != dlg.Dpi()) MoveToDpi(dlg, to, SIZE{700, 420});
            ExpectWordsFit(dlg, "manager");
        }
        dlg.DestroyWindow();
        PumpMessages();
    }
    DeleteTree(HKEY_CURRENT_USER, "SOFTWARE\\VelmoraDpiTest");
}

}  // namespace

// A tool dialog of the manager, opened at the display's DPI and then moved
// to 96 DPI: its buttons take each scale, and its list reaches to a margin
// of the inside whatever the scale.
void ExpectToolDialogFollowsDpi(CQebDialog& dialog, const char* name, SIZE at96) {
    const int dpi = DisplayDpi();
    ASSERT_TRUE(dialog.Create()) << name;
    PumpMessages();
    const HWND hWnd = dialog.m_hWnd;
    for (const int to : {dpi, 96}) {
        if (to != dpi) {
            RECT window{};
            ::GetWindowRect(hWnd, &window);
            const RECT suggested{window.left, window.top, window.left + at96.cx, window.top + at96.cy};
            ::SendMessageW(hWnd, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
            PumpMessages();
        }
        const RECT ok = ChildRect(::GetDlgItem(hWnd, IDOK));
        EXPECT_EQ(ok.right - ok.left, ScaleForDpi(80, to)) << name << " at " << to;
        EXPECT_EQ(ok.bottom - ok.top, ScaleForDpi(25, to)) << name << " at " << to;
        RECT client{};
        ::GetClientRect(hWnd, &client);
        const RECT list = ChildRect(::GetDlgItem(hWnd, IDC_CHOICE_LIST));
        EXPECT_LT(list.right, client.right) << name << " at " << to;
        EXPECT_GT(list.right, client.right - ScaleForDpi(140, to)) << name << " at " << to;
        EXPECT_LT(list.bottom, ok.top) << name << " at " << to;
        ExpectWordsFit(dialog, name);
    }
    ::DestroyWindow(hWnd);
    PumpMessages();
}

TEST(ToolDialogDpiTest, ThePathEditorAndTheImportPreviewFollowADpiChange) {
    for (const velmora::Language language : kBothLanguages) {
        const ScopedLanguage speaking(language);
        std::vector<CStringW> folders{u"C:\\Tools"};
        CPathEditDlg editor(u"ed", folders, nullptr);
        ExpectToolDialogFollowsDpi(editor, "Path editor", SIZE{540, 360});
        ImportPlan plan;
        plan.items.resize(1);
        std::vector<bool> replace;
        CImportPreviewDlg preview(plan, replace, nullptr);
        ExpectToolDialogFollowsDpi(preview, "import preview", SIZE{600, 400});
    }
}

TEST(ToolDialogDpiTest, TheOptionsDialogsWordsFitInBothLanguages) {
    for (const velmora::Language language : kBothLanguages) {
        const ScopedLanguage speaking(language);
        RunCommandOptions options;
        COptionsDlg dialog(u"ed", options, nullptr);
        ASSERT_TRUE(dialog.Create());
        PumpMessages();
        for (const int to : {DisplayDpi(), 96}) {
            if (to != dialog.Dpi()) MoveToDpi(dialog, to, SIZE{520, 400});
            ExpectWordsFit(dialog, "options");
        }
        dialog.DestroyWindow();
        PumpMessages();
    }
}
