#include "Core/CheckResult.h"

#include <stdexcept>

namespace ZEL {

void CheckResult(Gfx::Result code) {
    if (code != 0) {
        throw std::runtime_error("Direct2D returned error: " + std::to_string(code));
    }
}

namespace {

// Length of the valid UTF-8 sequence starting at s[i], or 0 when it is not one.
size_t Utf8SequenceLength(const std::string& s, size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    size_t len = 0;
    unsigned min = 0;
    unsigned cp = 0;
    if (b0 < 0x80) {
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2, min = 0x80, cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, min = 0x800, cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, min = 0x10000, cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size()) {
        return 0;
    }
    for (size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return len;
}

bool IsValidUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const size_t len = Utf8SequenceLength(s, i);
        if (len == 0) {
            return false;
        }
        i += len;
    }
    return true;
}

void AppendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string ToWide(const std::string& bytes) {
    if (IsValidUtf8(bytes)) {
        return bytes;
    }
    std::string out;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        AppendUtf8(out, b < 0x80 ? b : 0xFF00u | b);
    }
    return out;
}

std::string ToNativePath(const std::string& path) {
    std::string out = path;
    for (char& c : out) {
        if (c == '\\') {
            c = '/';
        }
    }
    return out;
}

}  // namespace ZEL
