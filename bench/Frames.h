#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Core/Factory.h"
#include "Core/IScenimator.h"
#include "Gfx/RenderTarget.h"
#include "Scene.h"

// Benchmark scenes played by the engine and read back as frames.
namespace Bench {

// A frame's pixels, rows of 4 bytes a pixel (premultiplied BGRA) without padding.
struct Frame {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
    int At(int x, int y, int channel) const {
        return pixels[(static_cast<size_t>(y) * width + x) * 4 + channel];
    }
    Frame Crop(int left, int top, int w, int h) const;
    // False when the file can't be written.
    bool WritePng(const std::string& path) const;
};

// Writes the 64x64 image the bitmap scene draws.
void WriteBitmap(const std::string& path);

// Writes the scene as a document dir/NAME<suffix>.scn drawing dir/bitmap.png; its path.
std::string WriteDocument(const Scene& scene, const std::filesystem::path& dir,
                          const std::string& suffix = "");

// One document on a render target of its own, drawn as the players draw it.
class Player {
  public:
    // Throws with the engine's error text when the document does not load.
    Player(const std::string& documentPath, const Gfx::RasterOptions& options,
           uint32_t width = kWidth, uint32_t height = kHeight);
    // Where one frame's time went, in microseconds: recording the calls (update included),
    // covering edges and painting.
    struct Times {
        double record = 0, cover = 0, paint = 0;
    };
    // Update to t, clear to white, render, end the frame and read it back.
    Times Draw(uint32_t t);
    Frame Pixels() const;
    Gfx::RenderTarget& Target() { return *m_Target; }

  private:
    std::shared_ptr<Gfx::RenderTarget> m_Target;
    ZEL::Factory m_Factory;
    std::unique_ptr<ZEL::IScenimator> m_Document;
};

}  // namespace Bench
