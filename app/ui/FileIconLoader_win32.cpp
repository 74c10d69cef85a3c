#include "app/ui/FileIconLoader_win32.h"

#include <utility>

#include "app/platform/TargetFile_win32.h"
#include "icons/extract_icons.h"

velmora::OwnedIcon FileIconLoader::ReadTargetFileIcon(const CStringW& file, int side, HANDLE /*stop*/) {
    // Resolving searches the folders of PATH for a bare name: file access
    // too, so here on the worker and not where the row is drawn.
    const CStringW path = PathToReadHere(ResolveTargetFile(file));
    HICON hIcon = nullptr;
    if (velmora::ExtractFileIconsW(velmora::WinText(path), 0, side, side, &hIcon, nullptr, 1, LR_COLOR) == 0)
        return velmora::OwnedIcon();
    return velmora::OwnedIcon(hIcon);
}

FileIconLoader::FileIconLoader(Reader reader) : m_reader(std::move(reader)) {}

FileIconLoader::~FileIconLoader() { Stop(); }

bool FileIconLoader::Start(HWND window, UINT message) {
    if (m_thread || m_stopping || !m_reader) return false;
    m_window = window;
    m_message = message;
    m_stop.Attach(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    m_wake.Attach(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!m_stop || !m_wake) return false;
    m_thread.Attach(::CreateThread(nullptr, 0, &FileIconLoader::RunWorker, this, 0, nullptr));
    return static_cast<bool>(m_thread);
}

void FileIconLoader::Ask(unsigned generation, const CStringW& file, int side) {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_thread || m_stopping) return;
        m_queue.push_back({generation, file, side});
    }
    ::SetEvent(m_wake.Get());
}

void FileIconLoader::Forget() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_queue.clear();
}

std::vector<FileIconLoader::Result> FileIconLoader::TakeResults() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_announced = false;
    return std::exchange(m_results, {});
}

void FileIconLoader::Stop() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_stopping) return;
        m_stopping = true;
        m_queue.clear();
    }
    if (m_thread) {
        ::SetEvent(m_stop.Get());
        // A read stuck on a slow network path gives up its I/O, where the
        // system can; the reader then fails and the worker ends.
        ::CancelSynchronousIo(m_thread.Get());
        ::WaitForSingleObject(m_thread.Get(), INFINITE);
        m_thread.Destroy();
    }
    // The worker is gone: nothing else touches the results now.
    m_results.clear();
}

DWORD WINAPI FileIconLoader::RunWorker(void* loader) {
    static_cast<FileIconLoader*>(loader)->Work();
    return 0;
}

void FileIconLoader::Work() {
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    const HANDLE waits[] = {m_stop.Get(), m_wake.Get()};
    while (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        for (;;) {
            Request request{};
            {
                const std::lock_guard<std::mutex> lock(m_mutex);
                if (m_stopping || m_queue.empty()) break;
                request = std::move(m_queue.front());
                m_queue.pop_front();
            }
            velmora::OwnedIcon icon;
            // No exception leaves the thread: a reader that throws read
            // nothing.
            try {
                icon = m_reader(request.file, request.side, m_stop.Get());
            } catch (...) {
                icon.Destroy();
            }
            const std::lock_guard<std::mutex> lock(m_mutex);
            // Stopping: the icon is destroyed here, never handed out.
            if (m_stopping) return;
            m_results.push_back({request.generation, std::move(request.file), std::move(icon)});
            // Posted under the lock, so that none is posted once Stop has
            // begun; one message for as many results as wait until taken.
            if (!m_announced) m_announced = ::PostMessageW(m_window, m_message, 0, 0) != FALSE;
        }
    }
}
