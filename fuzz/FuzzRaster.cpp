// Arbitrary paths, transforms and stroke widths through the scan converter and the stroker,
// drawn smoothed in every raster mode. Nothing may crash or hang; every pixel of black drawn
// on opaque white stays an opaque grey; spans stay inside their clip, in order.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "Gfx/Geometry.h"
#include "Gfx/Raster/EdgeList.h"
#include "Gfx/Raster/PathFlattener.h"
#include "Gfx/Raster/ScanConverter.h"
#include "Gfx/Raster/Stroker.h"
#include "Gfx/RenderTarget.h"

namespace {

class Input {
  public:
    Input(const uint8_t* data, size_t size) : m_Data(data), m_Size(size) {}
    uint8_t Byte() { return m_At < m_Size ? m_Data[m_At++] : 0; }
    // Mostly coordinates near the target; now and then any float at all (huge, NaN, inf).
    float Float() {
        const uint8_t kind = Byte();
        if (kind % 8 == 0) {
            uint32_t bits = 0;
            for (int i = 0; i < 4; ++i) bits = bits << 8 | Byte();
            float f;
            std::memcpy(&f, &bits, 4);
            return f;
        }
        const int16_t whole = static_cast<int16_t>(Byte() << 8 | Byte());
        return static_cast<float>(whole) / (kind % 8 == 1 ? 1.0f : 256.0f) + Byte() / 256.0f;
    }
    Gfx::Point2F Point() {
        const float x = Float();
        return {x, Float()};
    }
    bool Done() const { return m_At >= m_Size; }

  private:
    const uint8_t* m_Data;
    size_t m_Size;
    size_t m_At = 0;
};

std::shared_ptr<Gfx::Geometry> ReadPath(Input& in) {
    Gfx::PathBuilder b;
    b.SetFillMode(in.Byte() % 2 ? Gfx::FillMode::Winding : Gfx::FillMode::Alternate);
    const int figures = in.Byte() % 6;
    for (int f = 0; f < figures && !in.Done(); ++f) {
        // One read a statement: the order arguments are worked out in is the compiler's.
        const Gfx::Point2F start = in.Point();
        b.BeginFigure(start, in.Byte() % 4 ? Gfx::FigureBegin::Filled : Gfx::FigureBegin::Hollow);
        const int segments = in.Byte() % 40;
        for (int s = 0; s < segments && !in.Done(); ++s) {
            if (in.Byte() % 3 == 0) {
                b.AddLine(in.Point());
            } else {
                const Gfx::Point2F p1 = in.Point();
                const Gfx::Point2F p2 = in.Point();
                const Gfx::Point2F p3 = in.Point();
                b.AddBezier(p1, p2, p3);
            }
        }
        b.EndFigure(in.Byte() % 2 ? Gfx::FigureEnd::Closed : Gfx::FigureEnd::Open);
    }
    b.Close();
    return b.GetGeometry();
}

void Check(bool ok) {
    if (!ok)
        std::abort();
}

// The converter alone, with a clip of its own: spans inside it and in order.
void Convert(const Gfx::Geometry& g, const cairo_matrix_t& m, float width) {
    Gfx::EdgeList edges;
    const Gfx::PixelRect clip{-20, -20, 90, 90};
    edges.Reset(clip);
    if (width > 0) {
        Gfx::Stroker stroker;
        stroker.Stroke(g.Data(), width, m, &edges);
    } else {
        Gfx::FlattenFill(g.Data(), m, &edges);
    }
    Gfx::ScanConverter converter;
    Gfx::CoverStore store;
    const Gfx::Cover c = converter.Convert(edges, width > 0 ? Gfx::FillMode::Winding : g.Data().fillMode, &store);
    if (c.Empty())
        return;
    Check(c.top >= clip.top && c.bottom <= clip.bottom);
    for (int y = c.top; y < c.bottom; ++y) {
        if (c.dense) {
            const Gfx::MaskRow r = c.MaskRange(y);
            Check(r.begin <= r.end && c.maskLeft + r.end <= clip.right + 1);
            Check(c.maskLeft >= clip.left);
            continue;
        }
        int x = clip.left;
        for (const Gfx::CoverSpan* s = c.RowBegin(y); s != c.RowEnd(y); ++s) {
            Check(s->x >= x && s->len > 0 && s->x + s->len <= clip.right);
            x = s->x + s->len;
        }
    }
}

void Draw(const Gfx::Geometry& g, const Gfx::Matrix3x2& m, float width,
          const Gfx::RasterOptions& options) {
    std::shared_ptr<Gfx::RenderTarget> target;
    if (Gfx::RenderTarget::Create(64, 48, 96, &target) != Gfx::kOk)
        return;
    target->SetRasterOptions(options);
    const Gfx::SolidColorBrush black(Gfx::ColorF{0, 0, 0, 1}, Gfx::BrushProperties{});
    target->BeginDraw();
    target->Clear({1, 1, 1, 1});
    target->SetTransform(m);
    target->SetAntialiasMode(Gfx::AntialiasMode::PerPrimitive);
    target->FillGeometry(g, black);
    target->DrawGeometry(g, black, width);
    target->EndDraw();
    const uint8_t* p = target->GetPixels();
    for (uint32_t y = 0; y < 48; ++y)
        for (uint32_t x = 0; x < 64; ++x) {
            const uint8_t* px = p + y * target->GetStride() + x * 4;
            Check(px[3] == 255 && px[0] == px[1] && px[1] == px[2]);
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    float v[6];
    for (float& f : v) f = in.Float();
    const Gfx::Matrix3x2 m{v[0], v[1], v[2], v[3], v[4], v[5]};
    const float width = in.Float();
    const auto geometry = ReadPath(in);
    if (!geometry)
        return 0;
    // One way through per input, chosen by its last byte, so each run stays short.
    const uint8_t way = in.Byte() % 3;
    if (way == 0) {
        cairo_matrix_t cm;
        cairo_matrix_init(&cm, m.m11, m.m12, m.m21, m.m22, m.dx, m.dy);
        if (geometry->IsDrawable() && m.IsFinite() && !m.IsSingular()) {
            Convert(*geometry, cm, 0);
            if (std::isfinite(width) && width > 0 && width < 1e7f)
                Convert(*geometry, cm, width);
        }
        return 0;
    }
    Gfx::RasterOptions options;
    if (way == 1) {
        options.record = false;
    } else {
        options.threads = 2;
        options.reuse = false;
    }
    Draw(*geometry, m, width, options);
    return 0;
}
