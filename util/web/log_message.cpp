#include "base/clock.h"
#include "base/filesystem.h"
#include "velmora/logging.h"

namespace {

// How long a line waits for another writer to let go of the file. Writers
// hold it for one short append, so this only runs out when something else
// keeps the file open.
constexpr int kOpenRetryMilliseconds = 1000;

void AppendLogLine(const char* message, const char* fileName) {
    CString directory;
    directory.Format("%slog%c", GetCurrWorkingDir().GetString(), velmora::kPathSeparator);
    velmora::CreateOneDirectory(directory);  // an existing directory is fine

    CString path;
    path.Format("%s%s", directory.GetString(), fileName);

    char stamp[128];
    velmora::FormatLocalTime("%Y-%m-%d %H:%M:%S", stamp, sizeof stamp);
    const int milliseconds = velmora::SystemTimeMilliseconds();

    CString line;
    line.Format("%s %d\t%s\r\n", stamp, milliseconds, message);
    velmora::AppendExclusive(path, line.GetString(), line.GetLength(), kOpenRetryMilliseconds);
}

}  // namespace

void LogMsg(const char* message, const char* fileName) {
    try {
        AppendLogLine(message ? message : "", fileName ? fileName : "");
    } catch (...) {
        // Logging never reports failure, not even running out of memory.
    }
}
