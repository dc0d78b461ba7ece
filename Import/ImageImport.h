#pragma once
#include <string>
#include <vector>

#include "Import/Diagnostics.h"
#include "Import/Element.h"

namespace Import {

struct ImageOptions {
    std::string svgFolder;  // linked images must lie inside it (or inside imagesDir)
    std::string imagesDir;  // where embedded images are written; also allowed for links
    std::string stem;       // embedded images are written as <imagesDir>/<stem>-<name>.png
};

struct ImageFile {
    std::string path;
    std::string bytes;
};

// Brings <image> references into files the document can name: embedded PNG and JPEG
// data become files to write, linked files are named where they are. Nothing is fetched:
// only data: URIs and files inside the SVG's folder or the images folder are read.
class ImageWriter {
  public:
    ImageWriter(ImageOptions options, Diagnostics* diagnostics)
        : m_Options(std::move(options)), m_Diag(diagnostics) {}

    // False (after a warning) when the reference cannot be used.
    bool Resolve(const std::string& href, const Element& user, const std::string& name,
                 std::string* path, int* width, int* height);
    const std::vector<ImageFile>& Files() const { return m_Files; }

  private:
    bool Embedded(const std::string& href, const Element& user, const std::string& name,
                  std::string* path, int* width, int* height);
    bool Linked(const std::string& href, const Element& user, std::string* path, int* width,
                int* height);

    ImageOptions m_Options;
    Diagnostics* m_Diag;
    std::vector<ImageFile> m_Files;
};

// Pixel size of PNG or JPEG data from its header; false for anything else.
bool ImageSize(const std::string& bytes, int* width, int* height, const char** extension);

}  // namespace Import
