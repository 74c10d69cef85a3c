#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "base/filesystem.h"
#include "base/growing_read.h"

namespace velmora {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

// The lock stands in for Windows' no-sharing open: taken without waiting,
// and retried with short pauses until the deadline.
long long MonotonicMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

bool LockExclusive(int fd, int retryMilliseconds) {
    const long long deadline = MonotonicMicroseconds() + retryMilliseconds * 1000LL;
    long pauseMicroseconds = 500;
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        if (MonotonicMicroseconds() >= deadline) return false;
        const timespec pause{0, pauseMicroseconds * 1000};
        nanosleep(&pause, nullptr);
        if (pauseMicroseconds < 8000) pauseMicroseconds *= 2;
    }
}

}  // namespace

std::string ExecutablePath() {
    return ReadGrowing<std::string>([](char* buffer, std::size_t capacity) -> std::size_t {
        // readlink stores no zero: a link that fills the buffer may have
        // been cut, and is read again with more room.
        const ssize_t got = readlink("/proc/self/exe", buffer, capacity);
        return got > 0 ? static_cast<std::size_t>(got) : 0;
    });
}

bool CreateOneDirectory(const char* path) { return path != nullptr && mkdir(path, 0777) == 0; }

bool AppendExclusive(const char* path, const char* data, int length, int retryMilliseconds) {
    if (path == nullptr || length < 0) return false;
    FileDescriptor file(open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    if (file.Get() < 0) return false;
    if (!LockExclusive(file.Get(), retryMilliseconds)) return false;
    // The end is taken under the lock, so another writer's bytes are never
    // overwritten. The lock goes with the descriptor.
    if (lseek(file.Get(), 0, SEEK_END) < 0) return false;
    while (length > 0) {
        const ssize_t written = write(file.Get(), data, static_cast<std::size_t>(length));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        length -= static_cast<int>(written);
    }
    return true;
}

}  // namespace velmora
