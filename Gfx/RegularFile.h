#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace Gfx {

// A file opened for reading only when it is a regular file. Documents and images name
// paths that nobody checked: a FIFO blocks an ordinary open for ever, /dev/zero never
// ends and a directory reads as nothing, so each of those fails here at once.
class RegularFile {
  public:
    RegularFile() = default;
    explicit RegularFile(const std::string& path);
    ~RegularFile();
    RegularFile(RegularFile&& other) noexcept;
    RegularFile& operator=(RegularFile&& other) noexcept;
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool IsOpen() const { return m_Fd >= 0; }
    uint64_t Size() const { return m_Size; }  // when it was opened
    // Bytes read, 0 at the end, -1 on an error.
    long Read(void* buffer, size_t size);
    // The file as a stdio stream from its start, for libraries that read FILE*; this
    // object is closed afterwards. Null on failure.
    std::FILE* ReleaseAsStream();

  private:
    int m_Fd = -1;
    uint64_t m_Size = 0;
};

}  // namespace Gfx
