#include "Core/LineSource.h"

#include <cstring>

namespace ZEL {

namespace {
constexpr size_t kChunkBytes = 64 * 1024;
}

LineSource::Opened LineSource::Open(const std::string& path) {
    m_File = Gfx::RegularFile(path);
    if (!m_File.IsOpen()) {
        return Opened::kCannotOpen;
    }
    if (m_File.Size() > kMaxFileBytes) {
        return Opened::kTooLarge;
    }
    m_Chunk.reset(new char[kChunkBytes]);
    m_Begin = m_End = 0;
    m_Read = 0;
    m_Error = false;
    return Opened::kOk;
}

bool LineSource::Fill() {
    if (!m_Chunk) {
        return false;
    }
    const long n = m_File.Read(m_Chunk.get(), kChunkBytes);
    if (n < 0) {
        m_Error = true;
    }
    m_Begin = 0;
    m_End = n > 0 ? static_cast<size_t>(n) : 0;
    m_Read += m_End;
    return n > 0;
}

LineSource::Next LineSource::NextLine(std::string* line) {
    line->clear();
    bool any = false;
    for (;;) {
        if (m_Begin == m_End) {
            if (!Fill()) {
                if (m_Error) {
                    return Next::kReadError;
                }
                return any ? Next::kLine : Next::kEnd;
            }
            // A file that grows while it is read is bounded like one that was large at once.
            if (m_Read > kMaxFileBytes) {
                return Next::kFileTooLarge;
            }
        }
        any = true;
        const char* start = m_Chunk.get() + m_Begin;
        const size_t available = m_End - m_Begin;
        const void* newline = std::memchr(start, '\n', available);
        const size_t take = newline ? static_cast<const char*>(newline) - start : available;
        if (line->size() + take > kMaxLineBytes) {
            return Next::kLineTooLong;
        }
        line->append(start, take);
        m_Begin += take;
        if (newline) {
            ++m_Begin;
            return Next::kLine;
        }
    }
}

}  // namespace ZEL
