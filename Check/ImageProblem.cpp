#include "Check/ImageProblem.h"

#include <fstream>
#include <memory>

#include "Core/Bitmap.h"
#include "Gfx/ImageDecoder.h"

namespace ZEL {

namespace {

// What a file that is not PNG or JPEG most likely is, from its first bytes.
std::string Sniff(const std::string& path) {
    char head[16] = {};
    std::ifstream(path, std::ios::binary).read(head, sizeof head);
    const std::string start(head, sizeof head);
    if (start.compare(0, 4, "GIF8") == 0) {
        return " (it is a GIF image)";
    }
    if (start.compare(0, 4, "RIFF") == 0 && start.compare(8, 4, "WEBP") == 0) {
        return " (it is a WebP image)";
    }
    if (start.compare(0, 2, "BM") == 0) {
        return " (it is a BMP image)";
    }
    if (start.find("<svg") != std::string::npos || start.compare(0, 5, "<?xml") == 0) {
        return " (it is an SVG image: convert it, for example with rsvg-convert)";
    }
    return "";
}

}  // namespace

std::string ImageProblem(const Bitmap& bitmap) {
    const std::string path = bitmap.FilePath();
    std::unique_ptr<Gfx::ImageDecoder> decoder;
    const Gfx::Result result = Gfx::ImageDecoder::Open(path, Gfx::DecodeLimits(), &decoder);
    const std::string file = "\"" + bitmap.FileName() + "\"";
    switch (result) {
        case Gfx::kOk:
            return "";
        case Gfx::kFileNotFound:
            return file + " cannot be opened (no such file, or not a regular file)";
        case Gfx::kFileTooLarge:
            return file + " is larger than 256 MiB";
        case Gfx::kBadImageHeader:
            return file + " is not a PNG or JPEG file the engine can decode" + Sniff(path);
        default:
            return file + " cannot be decoded (error " + std::to_string(result) + ")";
    }
}

}  // namespace ZEL
