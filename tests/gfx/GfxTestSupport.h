#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Gfx/RenderTarget.h"

namespace GfxTest {

struct Pixel {
    int b, g, r, a;
};

// An offscreen target cleared to opaque white and already drawing.
std::shared_ptr<Gfx::RenderTarget> WhiteCanvas(uint32_t width = 100, uint32_t height = 100,
                                               float dpi = 96);
Pixel At(Gfx::RenderTarget& target, int x, int y);
// Channel-wise within tolerance.
bool Near(Pixel p, Pixel expected, int tolerance = 2);
// Pixels that differ from opaque white.
int CountNonWhite(Gfx::RenderTarget& target);

std::shared_ptr<Gfx::Geometry> Rect(float l, float t, float r, float b);
std::shared_ptr<Gfx::Geometry> Ellipse(float cx, float cy, float rx, float ry);
std::shared_ptr<Gfx::SolidColorBrush> Solid(float r, float g, float b, float a = 1);

constexpr Pixel kWhite{255, 255, 255, 255};
constexpr Pixel kBlack{0, 0, 0, 255};
constexpr Pixel kRed{0, 0, 255, 255};
constexpr Pixel kBlue{255, 0, 0, 255};

// A directory removed with its contents at the end of the test.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string File(const std::string& name) const { return m_Path + "/" + name; }

  private:
    std::string m_Path;
};

// Writes a PNG with libpng from rows of raw samples in the given colour type and bit
// depth; palette entries are RGB triples.
void WritePng(const std::string& path, uint32_t width, uint32_t height, int colorType, int bitDepth,
              const std::vector<uint8_t>& samples, const std::vector<uint8_t>& palette = {});
// Writes a baseline JPEG from packed RGB rows.
void WriteJpeg(const std::string& path, uint32_t width, uint32_t height,
               const std::vector<uint8_t>& rgb);
std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace GfxTest
