#include "Frames.h"

#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <stdexcept>

namespace Bench {

Frame Frame::Crop(int left, int top, int w, int h) const {
    Frame part{w, h, {}};
    for (int y = top; y < top + h; ++y) {
        const auto row = pixels.begin() + (static_cast<size_t>(y) * width + left) * 4;
        part.pixels.insert(part.pixels.end(), row, row + w * 4);
    }
    return part;
}

bool Frame::WritePng(const std::string& path) const {
    // Cairo's ARGB32 rows are 4 bytes a pixel without padding: these very bytes.
    cairo_surface_t* s = cairo_image_surface_create_for_data(
        const_cast<unsigned char*>(pixels.data()), CAIRO_FORMAT_ARGB32, width, height, width * 4);
    const bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

void WriteBitmap(const std::string& path) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kBitmapSide, kBitmapSide);
    cairo_t* cr = cairo_create(s);
    cairo_pattern_t* p = cairo_pattern_create_radial(32, 32, 2, 32, 32, 32);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 0.8, 0.3, 1);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.5, 0.1, 0.6, 0.2);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    cairo_destroy(cr);
    const cairo_status_t status = cairo_surface_write_to_png(s, path.c_str());
    cairo_surface_destroy(s);
    if (status != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot write " + path);
}

std::string WriteDocument(const Scene& scene, const std::filesystem::path& dir,
                          const std::string& suffix) {
    const std::string path = (dir / (scene.name + suffix + ".scn")).string();
    std::ofstream out(path);
    out << ToDocument(scene, (dir / "bitmap.png").string());
    if (!out)
        throw std::runtime_error("cannot write " + path);
    return path;
}

Player::Player(const std::string& documentPath, const Gfx::RasterOptions& options, uint32_t width,
               uint32_t height) {
    if (Gfx::RenderTarget::Create(width, height, 96, &m_Target) != Gfx::kOk)
        throw std::runtime_error("no render target of " + std::to_string(width) + "x" +
                                 std::to_string(height));
    m_Target->SetRasterOptions(options);
    ZEL::IScenimator* loaded = nullptr;
    if (m_Factory.CreateScenimator(documentPath, 0, m_Target.get(), &loaded) != ZEL::kSuccess)
        throw std::runtime_error(m_Factory.GetErrorText());
    m_Document.reset(loaded);
}

Player::Times Player::Draw(uint32_t t) {
    const auto start = std::chrono::steady_clock::now();
    m_Document->Update(t);
    m_Target->BeginDraw();
    m_Target->Clear(Gfx::ColorF{1, 1, 1, 1});
    m_Document->Render(Gfx::Matrix3x2::Identity(), nullptr);
    const auto recorded = std::chrono::steady_clock::now();
    m_Target->EndDraw();
    m_Target->GetPixels();
    const Gfx::RasterStats& stats = m_Target->GetRasterStats();
    return {std::chrono::duration<double, std::micro>(recorded - start).count(),
            stats.coverMs * 1000, stats.paintMs * 1000};
}

Frame Player::Pixels() const {
    const Gfx::SizeU size = m_Target->GetPixelSize();
    Frame f{static_cast<int>(size.width), static_cast<int>(size.height), {}};
    f.pixels.resize(static_cast<size_t>(size.width) * size.height * 4);
    const uint8_t* rows = m_Target->GetPixels();
    for (uint32_t y = 0; y < size.height; ++y)
        std::copy_n(rows + static_cast<size_t>(y) * m_Target->GetStride(), size.width * 4,
                    f.pixels.begin() + static_cast<size_t>(y) * size.width * 4);
    return f;
}

}  // namespace Bench
