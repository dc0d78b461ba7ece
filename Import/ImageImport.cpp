#include "Import/ImageImport.h"

#include <fcntl.h>
#include <glib.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>

namespace Import {

namespace {

constexpr size_t kMaxImageBytes = 256u << 20;

uint32_t BigEndian(const std::string& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

std::string RealPath(const std::string& path) {
    char buffer[PATH_MAX];
    return realpath(path.c_str(), buffer) ? std::string(buffer) : std::string();
}

bool Inside(const std::string& file, const std::string& folder) {
    if (folder.empty() || file.empty())
        return false;
    return file.size() > folder.size() && file.compare(0, folder.size(), folder) == 0 &&
           (folder.back() == '/' || file[folder.size()] == '/');
}

// The first bytes of a regular file (enough for any header we read).
bool ReadHead(const std::string& path, std::string* out) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
              static_cast<unsigned long long>(info.st_size) <= kMaxImageBytes;
    if (ok) {
        out->resize(1 << 20);
        const ssize_t n = read(fd, &(*out)[0], out->size());
        ok = n > 0;
        out->resize(ok ? static_cast<size_t>(n) : 0);
    }
    close(fd);
    return ok;
}

}  // namespace

bool ImageSize(const std::string& b, int* width, int* height, const char** extension) {
    if (b.size() >= 24 && b.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0 &&
        b.compare(12, 4, "IHDR") == 0) {
        *width = static_cast<int>(BigEndian(b, 16, 4));
        *height = static_cast<int>(BigEndian(b, 20, 4));
        *extension = "png";
        return *width > 0 && *height > 0;
    }
    if (b.size() >= 4 && static_cast<unsigned char>(b[0]) == 0xFF &&
        static_cast<unsigned char>(b[1]) == 0xD8) {
        size_t at = 2;
        while (at + 9 < b.size()) {
            if (static_cast<unsigned char>(b[at]) != 0xFF)
                return false;
            const unsigned marker = static_cast<unsigned char>(b[at + 1]);
            const uint32_t length = BigEndian(b, at + 2, 2);
            // Start-of-frame markers carry the size; 0xC4, 0xC8 and 0xCC are not frames.
            if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                marker != 0xCC) {
                *height = static_cast<int>(BigEndian(b, at + 5, 2));
                *width = static_cast<int>(BigEndian(b, at + 7, 2));
                *extension = "jpg";
                return *width > 0 && *height > 0;
            }
            at += 2 + length;
        }
    }
    return false;
}

bool ImageWriter::Resolve(const std::string& href, const Element& user, const std::string& name,
                          std::string* path, int* width, int* height) {
    if (href.compare(0, 5, "data:") == 0) {
        return Embedded(href, user, name, path, width, height);
    }
    return Linked(href, user, path, width, height);
}

bool ImageWriter::Embedded(const std::string& href, const Element& user, const std::string& name,
                           std::string* path, int* width, int* height) {
    const size_t comma = href.find(',');
    const std::string header = href.substr(0, comma == std::string::npos ? 0 : comma);
    if (comma == std::string::npos || header.find(";base64") == std::string::npos) {
        m_Diag->Warn(user.line, "image-data", user.Label(),
                     "<image> on \"" + user.Label() +
                         "\" holds data that is not base64; it is "
                         "not imported");
        return false;
    }
    std::string text;
    for (size_t i = comma + 1; i < href.size(); ++i) {
        if (!std::isspace(static_cast<unsigned char>(href[i])))
            text += href[i];
    }
    gsize length = 0;
    std::unique_ptr<guchar, decltype(&g_free)> data(g_base64_decode(text.c_str(), &length), g_free);
    std::string bytes(reinterpret_cast<const char*>(data.get()), length);
    const char* extension = nullptr;
    if (!ImageSize(bytes, width, height, &extension)) {
        m_Diag->Warn(user.line, "image-format", user.Label(),
                     "<image> on \"" + user.Label() +
                         "\" is neither PNG nor JPEG; it is not "
                         "imported");
        return false;
    }
    std::string folder = m_Options.imagesDir;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    *path = folder + m_Options.stem + "-" + name + "." + extension;
    for (const auto& file : m_Files) {
        if (file.path == *path) {
            *path = folder + m_Options.stem + "-" + name + "-" +
                    std::to_string(m_Files.size() + 1) + "." + extension;
        }
    }
    m_Files.push_back({*path, std::move(bytes)});
    return true;
}

bool ImageWriter::Linked(const std::string& href, const Element& user, std::string* path,
                         int* width, int* height) {
    std::string target = href;
    if (target.compare(0, 7, "file://") == 0) {
        target = target.substr(7);
    } else if (target.find("://") != std::string::npos) {
        m_Diag->Warn(user.line, "image-remote", user.Label(),
                     "<image> on \"" + user.Label() + "\" links to \"" + href +
                         "\"; nothing is fetched, it is not imported");
        return false;
    }
    if (target.empty())
        return false;
    std::string joined = target;
    if (target[0] != '/') {
        joined = m_Options.svgFolder.empty() || m_Options.svgFolder == "."
                     ? target
                     : m_Options.svgFolder + "/" + target;
    }
    const std::string real = RealPath(joined);
    if (!Inside(real, RealPath(m_Options.svgFolder.empty() ? "." : m_Options.svgFolder)) &&
        !Inside(real, RealPath(m_Options.imagesDir.empty() ? "." : m_Options.imagesDir))) {
        m_Diag->Warn(user.line, "image-outside", user.Label(),
                     "<image> on \"" + user.Label() + "\" names \"" + href +
                         "\", which is missing or outside the SVG's folder; it is not imported");
        return false;
    }
    std::string head;
    const char* extension = nullptr;
    if (!ReadHead(real, &head) || !ImageSize(head, width, height, &extension)) {
        m_Diag->Warn(user.line, "image-format", user.Label(),
                     "<image> on \"" + user.Label() +
                         "\" is not a readable PNG or JPEG file; it "
                         "is not imported");
        return false;
    }
    *path = joined;
    return true;
}

}  // namespace Import
