#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "Gfx/RegularFile.h"

namespace ZEL {

// The lines of one document file, read in chunks of bounded size: no document is held
// whole, and no file, however long or endless, grows a buffer past the bounds below.
class LineSource {
  public:
    static constexpr uint64_t kMaxFileBytes = uint64_t{64} << 20;
    static constexpr size_t kMaxLineBytes = size_t{1} << 20;

    enum class Opened { kOk, kCannotOpen, kTooLarge };
    enum class Next { kLine, kEnd, kLineTooLong, kFileTooLarge, kReadError };

    // Only regular files open; see Gfx::RegularFile.
    Opened Open(const std::string& path);
    // The next line without its '\n'; the last line needs none.
    Next NextLine(std::string* line);

  private:
    bool Fill();  // false at the end of the file or on an error

    Gfx::RegularFile m_File;
    std::unique_ptr<char[]> m_Chunk;
    size_t m_Begin = 0, m_End = 0;  // unread bytes of the chunk
    uint64_t m_Read = 0;
    bool m_Error = false;
};

}  // namespace ZEL
