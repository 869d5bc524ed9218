#include "regular_file.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#if defined(_WIN32)

// A pipe or a device opens without waiting; only a disk file is kept.
std::FILE* OpenRegularFile(const char* path, bool write) {
    if (!path) return nullptr;
    const HANDLE handle = CreateFileA(path, write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return nullptr;
    }
    const int fd =
        _open_osfhandle(reinterpret_cast<intptr_t>(handle), write ? _O_WRONLY | _O_TEXT : _O_RDONLY);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, write ? "w" : "rb");
    if (!file) _close(fd);
    return file;
}

#else

// Opened without blocking (a FIFO without a writer would wait for one),
// checked, then switched back to blocking reads and writes.
std::FILE* OpenRegularFile(const char* path, bool write) {
    if (!path) return nullptr;
    const int flags = write ? O_WRONLY | O_CREAT | O_TRUNC : O_RDONLY;
    const int fd = open(path, flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    struct stat info {};
    std::FILE* file = nullptr;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0)
        file = fdopen(fd, write ? "w" : "rb");
    if (!file) close(fd);
    return file;
}

#endif
