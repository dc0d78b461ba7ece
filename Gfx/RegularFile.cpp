#include "Gfx/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace Gfx {

RegularFile::RegularFile(const std::string& path) {
    // Non-blocking so that a FIFO without a writer cannot hold the open.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    m_Fd = fd;
    m_Size = static_cast<uint64_t>(info.st_size);
}

RegularFile::~RegularFile() {
    if (m_Fd >= 0)
        close(m_Fd);
}

RegularFile::RegularFile(RegularFile&& other) noexcept
    : m_Fd(std::exchange(other.m_Fd, -1)), m_Size(other.m_Size) {}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
    if (this != &other) {
        if (m_Fd >= 0)
            close(m_Fd);
        m_Fd = std::exchange(other.m_Fd, -1);
        m_Size = other.m_Size;
    }
    return *this;
}

long RegularFile::Read(void* buffer, size_t size) {
    if (m_Fd < 0)
        return -1;
    for (;;) {
        const ssize_t n = read(m_Fd, buffer, size);
        if (n >= 0 || errno != EINTR)
            return static_cast<long>(n);
    }
}

std::FILE* RegularFile::ReleaseAsStream() {
    if (m_Fd < 0 || lseek(m_Fd, 0, SEEK_SET) != 0)
        return nullptr;
    std::FILE* stream = fdopen(m_Fd, "rb");
    if (stream)
        m_Fd = -1;
    return stream;
}

}  // namespace Gfx
