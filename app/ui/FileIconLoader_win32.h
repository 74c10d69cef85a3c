// FileIconLoader: reads the icons of files on a worker thread of its own,
// below normal priority, so that a window never waits on a file (a slow
// network path, a large program) while it paints or scrolls.
//
// The window's thread asks for files and takes the results. The worker
// says that results wait by posting a message that carries nothing else:
// the icons stay in the loader, which owns them until they are taken, so a
// message that never arrives (the window went first) loses nothing and
// frees nothing twice. Stopping joins the worker and destroys what was not
// taken; after Stop no message is posted.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "base/wide_text.h"
#include "base/win32_handles.h"

class FileIconLoader {
public:
    // Reads the icon of `file` at `side` x `side` pixels, on the worker;
    // empty when there is none. `stop` is a manual-reset event that is set
    // when the loader stops: a reader that waits can wait on it as well.
    using Reader = std::function<velmora::OwnedIcon(const CStringW& file, int side, HANDLE stop)>;
    // The reader of the tool: the first icon of the file a target file names
    // (ResolveTargetFile), read through PathToReadHere.
    static velmora::OwnedIcon ReadTargetFileIcon(const CStringW& file, int side, HANDLE stop);

    struct Result {
        unsigned generation;  // as asked
        CStringW file;        // as asked
        velmora::OwnedIcon icon;
    };

    explicit FileIconLoader(Reader reader = &ReadTargetFileIcon);
    // Stops.
    ~FileIconLoader();
    FileIconLoader(const FileIconLoader&) = delete;
    FileIconLoader& operator=(const FileIconLoader&) = delete;

    // Starts the worker, which posts `message` (wParam and lParam 0) to
    // `window` when results come to wait where none waited. False when the
    // worker could not be made or was started before; nothing is read then.
    bool Start(HWND window, UINT message);
    // Queues `file` to be read at `side` pixels, tagged with `generation`.
    // Files are read in the order asked, each time asked (the caller asks
    // once per file). Ignored unless started and not stopped.
    void Ask(unsigned generation, const CStringW& file, int side);
    // Drops the files still queued; one being read comes back as asked.
    void Forget();
    // The results waiting, in the order read; their icons are the caller's.
    std::vector<Result> TakeResults();
    // Ends the worker: queued files are dropped, the one being read is let
    // finish (its reading I/O cancelled where the system can), the thread is
    // joined and the results not taken are destroyed. Later calls do nothing.
    void Stop();

private:
    struct Request {
        unsigned generation;
        CStringW file;
        int side;
    };

    static DWORD WINAPI RunWorker(void* loader);
    void Work();

    const Reader m_reader;
    HWND m_window = nullptr;
    UINT m_message = 0;
    velmora::OwnedKernelHandle m_stop;  // manual reset: the worker ends
    velmora::OwnedKernelHandle m_wake;  // auto reset: files were queued
    velmora::OwnedKernelHandle m_thread;

    std::mutex m_mutex;  // guards what follows
    std::deque<Request> m_queue;
    std::vector<Result> m_results;
    bool m_announced = false;  // a message was posted for the results waiting
    bool m_stopping = false;
};
