// Edge cases of the main dialog under Wine that the other dialog tests do not
// reach: registry writes that fail (through a registry put in place of the
// Win32 one), the shortest stored path that counts, the confirmation box's
// style, the picture of the minimised window, and a drop of no file at all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/runcmd/CommandText.h"
#include "app/registry/Registry_win32.h"
#include "dialog_harness.h"
#include "memory_registry.h"
#include "res/resource.h"

namespace {

const std::string kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
const char kBoxCaption[] = "温馨提示";

std::string KeyOf(const char* name) { return kAppPaths + name + ".exe"; }

bool HasDefaultValue(const std::string& keyPath) {
    std::string data;
    return ReadValue(keyPath.c_str(), "", &data, nullptr);
}

// The Win32 registry, except that one call fails: call number `failAt`
// (from 0) of the kind `kind`.
struct FailingRegistry {
    FailingRegistry(memreg::RegCall kind, int failAt) {
        watch.failKind = kind;
        watch.failAtCall = failAt;
    }
    CWin32Registry win32;
    memreg::WatchedRegistry watch{win32};
};

// Puts a registry in place of the Win32 one in a dialog's services for its
// lifetime.
class ScopedRegistry {
public:
    ScopedRegistry(AppServices& services, IRegistry& registry) : m_services(services), m_saved(services.registry) {
        services.registry = &registry;
    }
    ~ScopedRegistry() { m_services.registry = m_saved; }

private:
    AppServices& m_services;
    IRegistry* m_saved;
};

class TarvelDlgEdgeTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"velmora-test-fail", "velmora-test-seven", "velmora-test-eight"})
            DeleteTree(KeyOf(name).c_str());
        DeleteTree(kAppPathsRunKey);
        ASSERT_TRUE(dlg.Create());
    }
    void TearDown() override {
        dlg.DestroyWindow();
        for (const char* name : {"velmora-test-fail", "velmora-test-seven", "velmora-test-eight"})
            DeleteTree(KeyOf(name).c_str());
        DeleteTree(kAppPathsRunKey);
    }
    void Drop(std::initializer_list<std::string> paths) {
        dlg.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropHandle(paths)), 0);
    }
    std::vector<SeenMessageBox> Press(UINT nID) {
        MessageBoxWatcher watcher(kBoxCaption);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), 0);
        return watcher.Seen();
    }

    AppServices services = ServicesOverScratchKey(kAppPathsKey);
    CTarvelDlg dlg{services};
};

TEST_F(TarvelDlgEdgeTest, AFailedWriteShowsNoBoxAndStoresNothing) {
    // The key path has six pieces: SOFTWARE ... App Paths, then the name.
    const struct {
        const char* step;
        memreg::RegCall kind;
        int failAt;
    } failures[] = {
        {"creating the first key", memreg::RegCall::kCreateKey, 0},
        {"creating the name's key", memreg::RegCall::kCreateKey, 5},
        {"storing the value", memreg::RegCall::kSetValue, 0},
    };
    Drop({"C:\\Tools\\ed.exe"});
    TypeInto(dlg, IDC_EDIT_COMMAND_NAME, u"velmora-test-fail");
    for (const auto& f : failures) {
        DeleteTree(KeyOf("velmora-test-fail").c_str());
        FailingRegistry registry(f.kind, f.failAt);
        {
            const ScopedRegistry scoped(services, registry.watch);
            EXPECT_TRUE(Press(IDC_BTN_ADD).empty()) << f.step;
        }
        EXPECT_TRUE(registry.watch.Balanced()) << f.step << ": " << registry.watch.OpenKeys() << " keys left open";
        EXPECT_FALSE(HasDefaultValue(KeyOf("velmora-test-fail"))) << f.step;
        // The keys made for the value go again: nothing is half written.
        EXPECT_FALSE(KeyExists(KeyOf("velmora-test-fail").c_str())) << f.step;
    }
    // The same press with the registry working registers the name.
    EXPECT_EQ(Press(IDC_BTN_ADD).size(), 1u);
    EXPECT_TRUE(HasDefaultValue(KeyOf("velmora-test-fail")));
}

TEST_F(TarvelDlgEdgeTest, AFailedSelfRegistrationLeavesTheLinkHidden) {
    ASSERT_TRUE(IsControlShown(dlg, IDC_BTN_ADD_SELF));
    FailingRegistry registry(memreg::RegCall::kSetValue, 0);
    {
        const ScopedRegistry scoped(services, registry.watch);
        EXPECT_TRUE(Press(IDC_BTN_ADD_SELF).empty());
    }
    EXPECT_TRUE(registry.watch.Balanced());
    EXPECT_FALSE(IsControlShown(dlg, IDC_BTN_ADD_SELF));
    EXPECT_FALSE(HasDefaultValue(N(kAppPathsRunKey)));
}

TEST_F(TarvelDlgEdgeTest, AStoredPathCountsFromEightBytes) {
    // "C:a.exe" (7 bytes, relative to the drive's directory) is accepted by
    // its extension but is shorter than any full path.
    Drop({"C:a.exe"});
    ASSERT_EQ(dlg.DroppedProgram(), CStringW(u"C:a.exe"));
    TypeInto(dlg, IDC_EDIT_COMMAND_NAME, u"velmora-test-seven");
    EXPECT_TRUE(Press(IDC_BTN_ADD).empty());
    EXPECT_FALSE(KeyExists(KeyOf("velmora-test-seven").c_str()));

    Drop({"C:\\a.exe"});
    ASSERT_EQ(dlg.DroppedProgram().GetLength(), 8);
    TypeInto(dlg, IDC_EDIT_COMMAND_NAME, u"velmora-test-eight");
    EXPECT_EQ(Press(IDC_BTN_ADD).size(), 1u);
    std::string data;
    ASSERT_TRUE(ReadValue(KeyOf("velmora-test-eight").c_str(), "", &data, nullptr));
    EXPECT_STREQ(data.c_str(), "C:\\a.exe");
}

TEST_F(TarvelDlgEdgeTest, TheConfirmationHasTheProgramsIconAndOnlyAnOkButton) {
    Drop({"C:\\Tools\\ed.exe"});
    TypeInto(dlg, IDC_EDIT_COMMAND_NAME, u"velmora-test-eight");
    const std::vector<SeenMessageBox> boxes = Press(IDC_BTN_ADD);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].buttonIds, std::vector<int>{IDOK});
    const HICON hOwn = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MESSAGE_BOX));
    ASSERT_NE(hOwn, nullptr);
    EXPECT_EQ(boxes[0].hIcon, hOwn) << "the user icon, resource 133";
    for (LPCSTR system : {IDI_INFORMATION, IDI_WARNING, IDI_ERROR, IDI_QUESTION})
        EXPECT_NE(boxes[0].hIcon, ::LoadIconA(nullptr, system));
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

// Points this program's import of a user32 function at a replacement while
// it lives, so that a test sees the calls the dialog makes. (A minimised
// window lies far off the screen under Wine, where nothing it draws can be
// read back.)
class ImportHook {
public:
    ImportHook(const char* function, void* replacement) {
        auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
        auto* nt =
            reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name;
             ++d) {
            if (lstrcmpiA(reinterpret_cast<char*>(base + d->Name), "user32.dll") != 0) continue;
            auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
            for (; names->u1.AddressOfData; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
                auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (lstrcmpA(reinterpret_cast<char*>(byName->Name), function) != 0) continue;
                m_slot = &slots->u1.Function;
                m_saved = *m_slot;
                Write(reinterpret_cast<decltype(m_saved)>(replacement));
                return;
            }
        }
    }
    ~ImportHook() {
        if (m_slot != nullptr) Write(m_saved);
    }
    bool Hooked() const { return m_slot != nullptr; }

private:
    void Write(decltype(IMAGE_THUNK_DATA::u1.Function) value) {
        DWORD previous = 0;
        ::VirtualProtect(m_slot, sizeof *m_slot, PAGE_READWRITE, &previous);
        *m_slot = value;
        ::VirtualProtect(m_slot, sizeof *m_slot, previous, &previous);
    }

    decltype(IMAGE_THUNK_DATA::u1.Function)* m_slot = nullptr;
    decltype(IMAGE_THUNK_DATA::u1.Function) m_saved{};
};

struct IconDrawn {
    HDC hDC;
    int x, y;
    HICON hIcon;
};
std::vector<IconDrawn> g_iconsDrawn;

BOOL WINAPI RecordDrawIcon(HDC hDC, int x, int y, HICON hIcon) {
    g_iconsDrawn.push_back({hDC, x, y, hIcon});
    return TRUE;
}

TEST_F(TarvelDlgEdgeTest, TheMinimisedWindowShowsTheApplicationIconCentred) {
    // The dialog with a client area while minimised (the whole window, as
    // the minimised windows of old had), noting the erase messages it gets.
    std::vector<HDC> iconErases;
    const MessageProbe probe(dlg, [&](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message == WM_ICONERASEBKGND) iconErases.push_back(reinterpret_cast<HDC>(wParam));
        result = 0;
        return message == WM_NCCALCSIZE && dlg.IsIconic();
    });
    dlg.ShowWindow(SW_SHOW);
    PumpMessages();
    dlg.ShowWindow(SW_MINIMIZE);
    // Painted at once: the window manager of the test display restores a
    // minimised window as soon as its events are read.
    ASSERT_TRUE(dlg.IsIconic());
    RECT client{};
    dlg.GetClientRect(&client);
    ASSERT_GT(client.right * client.bottom, 0);
    g_iconsDrawn.clear();
    {
        const ImportHook hook("DrawIcon", reinterpret_cast<void*>(&RecordDrawIcon));
        ASSERT_TRUE(hook.Hooked());
        ::RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    ASSERT_EQ(iconErases.size(), 1u) << "the icon's background is erased first";
    ASSERT_EQ(g_iconsDrawn.size(), 1u);
    EXPECT_EQ(g_iconsDrawn[0].hDC, iconErases[0]) << "both on the paint device context";
    EXPECT_EQ(g_iconsDrawn[0].hIcon, reinterpret_cast<HICON>(dlg.SendMessage(WM_GETICON, ICON_BIG)));
    // (width - icon width + 1) / 2: 160 x 24 with 32 x 32 icons gives 64, -3.
    EXPECT_EQ(g_iconsDrawn[0].x, (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2);
    EXPECT_EQ(g_iconsDrawn[0].y, (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2);
    std::printf("client %ld x %ld: icon at %d, %d\n", client.right, client.bottom, g_iconsDrawn[0].x,
                g_iconsDrawn[0].y);

    // Not minimised: no icon of the application's drawn.
    dlg.ShowWindow(SW_RESTORE);
    PumpMessages();
    g_iconsDrawn.clear();
    {
        const ImportHook hook("DrawIcon", reinterpret_cast<void*>(&RecordDrawIcon));
        ::RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    EXPECT_TRUE(g_iconsDrawn.empty());
}

TEST_F(TarvelDlgEdgeTest, ADropOfNoFileForgetsTheProgramAndKeepsTheRest) {
    Drop({ModulePath()});
    TypeInto(dlg, IDC_EDIT_COMMAND_NAME, u"typed");
    ASSERT_FALSE(dlg.DroppedProgram().IsEmpty());
    const RECT iconBox{144, 130, 192, 178};
    const std::vector<COLORREF> shown = ErasedPixels(dlg, iconBox);
    ASSERT_NE(shown, std::vector<COLORREF>(shown.size(), kDialogBackground));

    // A drop list that holds no name. Windows counts no file in it; Wine's
    // DragQueryFileA counts one, with an empty name.
    HDROP hDrop = MakeDropHandle({});
    const UINT count = ::DragQueryFileA(hDrop, 0xFFFFFFFF, nullptr, 0);
    dlg.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop), 0);
    EXPECT_TRUE(dlg.DroppedProgram().IsEmpty()) << "no program to register any more";
    EXPECT_EQ(ControlText(dlg, IDC_EDIT_COMMAND_NAME), count == 0 ? CStringW(u"typed") : CStringW());
    EXPECT_EQ(ErasedPixels(dlg, iconBox), shown) << "the icon stays";
    EXPECT_EQ(::GlobalFlags(hDrop), static_cast<UINT>(GMEM_INVALID_HANDLE)) << "the drop was handed back";
    TypeInto(dlg, IDC_EDIT_COMMAND_NAME, u"velmora-test-fail");
    EXPECT_TRUE(Press(IDC_BTN_ADD).empty());
}

}  // namespace
