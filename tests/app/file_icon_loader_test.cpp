// The manager's icon loader under Wine, with a reader of its own in place of
// the file system's: files read in the order asked on the worker, results
// announced to the window and taken there, files forgotten before they are
// read, and a stop while a slow file is being read that ends the worker,
// destroys every icon not taken and posts nothing more.
#include <gtest/gtest.h>

#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/ui/FileIconLoader_win32.h"
#include "dialog_harness.h"

namespace {

constexpr UINT kIconsRead = WM_APP + 7;

// Reads no file: makes a fresh icon for each one asked ("none" has none,
// "throws" throws) and records what it was asked and what it made. The
// file `held` is not answered until `release` or the loader's stop.
struct FakeReader {
    std::mutex mutex;
    std::vector<std::string> asked;
    std::vector<HICON> made;
    CStringW held = u"slow";
    velmora::OwnedKernelHandle entered{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    velmora::OwnedKernelHandle release{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};

    FileIconLoader::Reader Reader() {
        return [this](const CStringW& file, int side, HANDLE stop) {
            {
                const std::lock_guard<std::mutex> lock(mutex);
                asked.push_back(N(file) + "@" + std::to_string(side));
            }
            if (file == u"throws") throw std::runtime_error("unreadable");
            if (file == u"none") return velmora::OwnedIcon();
            if (file == held) {
                ::SetEvent(entered.Get());
                const HANDLE either[] = {release.Get(), stop};
                ::WaitForMultipleObjects(2, either, FALSE, INFINITE);
            }
            velmora::OwnedIcon icon(::CopyIcon(::LoadIconW(nullptr, MAKEINTRESOURCEW(32512))));
            const std::lock_guard<std::mutex> lock(mutex);
            made.push_back(icon.Get());
            return icon;
        };
    }
    std::vector<std::string> Asked() {
        const std::lock_guard<std::mutex> lock(mutex);
        return asked;
    }
    std::vector<HICON> Made() {
        const std::lock_guard<std::mutex> lock(mutex);
        return made;
    }
};

// Waits for the loader's message to `window`, leaving the thread's other
// messages alone. False after a minute without one (a hang guard).
bool TakeAnnouncement(HWND window) {
    const ULONGLONG giveUp = ::GetTickCount64() + 60000;
    MSG msg;
    while (!::PeekMessageW(&msg, window, kIconsRead, kIconsRead, PM_REMOVE)) {
        if (::GetTickCount64() > giveUp) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_POSTMESSAGE);
    }
    return true;
}

// An icon still there is destroyed by this (and the test fails).
bool WasDestroyed(HICON icon) { return ::DestroyIcon(icon) == FALSE; }

class RunManagerIconLoaderTest : public testing::Test {
protected:
    void SetUp() override {
        window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(loader.Start(window, kIconsRead));
    }
    void TearDown() override {
        loader.Stop();
        if (::IsWindow(window)) ::DestroyWindow(window);
    }
    // Takes results as the window is told of them, until `count` came.
    std::vector<FileIconLoader::Result> Receive(std::size_t count) {
        std::vector<FileIconLoader::Result> received;
        while (received.size() < count) {
            if (!TakeAnnouncement(window)) {
                ADD_FAILURE() << received.size() << " of " << count << " results came";
                break;
            }
            std::vector<FileIconLoader::Result> taken = loader.TakeResults();
            EXPECT_FALSE(taken.empty()) << "told of results when none waited";
            for (FileIconLoader::Result& result : taken) received.push_back(std::move(result));
        }
        return received;
    }

    HWND window = nullptr;
    FakeReader reader;
    FileIconLoader loader{reader.Reader()};
};

TEST_F(RunManagerIconLoaderTest, ReadsEachFileAskedInOrderAndTheWindowTakesTheResults) {
    EXPECT_FALSE(loader.Start(window, kIconsRead)) << "one worker";
    loader.Ask(1, u"C:\\a.exe", 16);
    loader.Ask(1, u"none", 16);
    loader.Ask(2, u"throws", 24);
    loader.Ask(2, u"C:\\b.exe", 24);
    const std::vector<FileIconLoader::Result> results = Receive(4);
    EXPECT_EQ(reader.Asked(),
              (std::vector<std::string>{"C:\\a.exe@16", "none@16", "throws@24", "C:\\b.exe@24"}));
    ASSERT_EQ(results.size(), 4u);
    const struct {
        unsigned generation;
        const char16_t* file;
        bool icon;
    } expected[] = {
        {1, u"C:\\a.exe", true}, {1, u"none", false}, {2, u"throws", false}, {2, u"C:\\b.exe", true}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(results[i].generation, expected[i].generation) << i;
        EXPECT_EQ(results[i].file, CStringW(expected[i].file)) << i;
        EXPECT_EQ(static_cast<bool>(results[i].icon), expected[i].icon) << i;
    }
    EXPECT_EQ(reader.Made(), (std::vector<HICON>{results[0].icon.Get(), results[3].icon.Get()}));
}

TEST_F(RunManagerIconLoaderTest, ForgottenFilesAreNotReadAndIconsNotTakenGoWithTheLoader) {
    loader.Ask(1, u"slow", 16);
    loader.Ask(1, u"C:\\x.exe", 16);
    loader.Ask(1, u"C:\\y.exe", 16);
    ASSERT_EQ(::WaitForSingleObject(reader.entered.Get(), 60000), WAIT_OBJECT_0);
    loader.Forget();
    ::SetEvent(reader.release.Get());
    const std::vector<FileIconLoader::Result> results = Receive(1);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].file, CStringW(u"slow")) << "the file being read comes back";

    // Read, announced, never taken: destroyed when the loader stops.
    loader.Ask(2, u"C:\\z.exe", 16);
    ASSERT_TRUE(TakeAnnouncement(window));
    loader.Stop();
    EXPECT_EQ(reader.Asked(), (std::vector<std::string>{"slow@16", "C:\\z.exe@16"}));
    ASSERT_EQ(reader.Made().size(), 2u);
    EXPECT_FALSE(WasDestroyed(reader.Made()[0])) << "taken: the test's";
    EXPECT_TRUE(WasDestroyed(reader.Made()[1]));
}

TEST_F(RunManagerIconLoaderTest, StoppingWhileASlowFileIsReadEndsTheWorkerAndLeavesNothing) {
    loader.Ask(1, u"slow", 16);
    loader.Ask(1, u"C:\\next.exe", 16);
    ASSERT_EQ(::WaitForSingleObject(reader.entered.Get(), 60000), WAIT_OBJECT_0);
    // The window goes first, as a dialog's does, then its loader.
    ASSERT_TRUE(::DestroyWindow(window));
    loader.Stop();
    EXPECT_EQ(reader.Asked(), (std::vector<std::string>{"slow@16"}));
    ASSERT_EQ(reader.Made().size(), 1u);
    EXPECT_TRUE(WasDestroyed(reader.Made()[0])) << "the slow file's icon";
    EXPECT_TRUE(loader.TakeResults().empty());
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, kIconsRead, kIconsRead, PM_REMOVE)) << "nothing posted";

    // Stopped: asking reads nothing, stopping again does nothing.
    loader.Ask(1, u"C:\\late.exe", 16);
    loader.Stop();
    EXPECT_EQ(reader.Asked().size(), 1u);
}

}  // namespace
