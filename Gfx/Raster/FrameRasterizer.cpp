#include "Gfx/Raster/FrameRasterizer.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "Gfx/CairoNative.h"

namespace Gfx {

namespace {

constexpr unsigned kBandsPerThread = 2;       // spare bands even out uneven frames
constexpr unsigned long kLayerMaxAge = 120;   // frames a layer may go unused
constexpr size_t kMinRunForLayer = 2;         // a lone operation is as cheap to draw again
constexpr size_t kCoverPiecesPerThread = 16;  // small pieces even out shapes of unequal cost

using Clock = std::chrono::steady_clock;

double Millis(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// Each thread's working memory for covering edges, kept from frame to frame.
CoverBuilder& ThreadCoverBuilder() {
    static thread_local CoverBuilder builder;
    return builder;
}

unsigned ThreadsFor(const RasterOptions& options) {
    if (options.threads > 0)
        return options.threads;
    return std::max(1u, std::thread::hardware_concurrency());
}

// A surface over pixels owned elsewhere whose device space starts at (x0, y0), and a
// context on it that draws only within clip. Every band draws on a surface over all the
// pixels: Cairo's image sampling and gradients round differently under other device
// offsets, so only the clip may differ between bands.
cairo_t* ContextOver(unsigned char* pixels, int width, int height, int x0, int y0,
                     const PixelRect& clip) {
    cairo_surface_t* s =
        cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_ARGB32, width, height, width * 4);
    cairo_surface_set_device_offset(s, -x0, -y0);
    cairo_t* cr = cairo_create(s);
    cairo_surface_destroy(s);
    cairo_rectangle(cr, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
    cairo_clip(cr);
    return cr;
}

}  // namespace

size_t FrameRasterizer::Layer::Bytes() const {
    return static_cast<size_t>(rect.right - rect.left) * (rect.bottom - rect.top) * 4;
}

FrameRasterizer::FrameRasterizer(cairo_surface_t* target, const RasterOptions& options)
    : m_Target(target), m_Options(options) {
    m_Whole = {0, 0, cairo_image_surface_get_width(target), cairo_image_surface_get_height(target)};
    m_Pixels = {cairo_image_surface_get_data(target), cairo_image_surface_get_stride(target), 0, 0};
    if (options.glyphCache)
        m_Glyphs = std::make_unique<GlyphCache>(kGlyphBudget);
    const unsigned threads = ThreadsFor(options);
    if (threads > 1)
        m_Pool = std::make_unique<RasterPool>(threads);
    MakeBands();
}

FrameRasterizer::~FrameRasterizer() {
    for (Band& band : m_Bands) cairo_destroy(band.cr);
    cairo_destroy(m_WholeCr);
}

void FrameRasterizer::MakeBands() {
    const int height = m_Whole.bottom;
    const unsigned threads = m_Pool ? m_Pool->Threads() : 1;
    // Bands of whole tiles, so that operations drawn tile by tile meet the same tiles.
    const int tiles = (height + OpPainter::kTileRows - 1) / OpPainter::kTileRows;
    const int count =
        std::max(1, std::min<int>(tiles, threads == 1 ? 1 : threads * kBandsPerThread));
    unsigned char* data = cairo_image_surface_get_data(m_Target);
    m_Bands.resize(count);
    for (int i = 0; i < count; ++i) {
        Band& band = m_Bands[i];
        const int top = tiles * i / count * OpPainter::kTileRows;
        const int bottom = std::min(height, tiles * (i + 1) / count * OpPainter::kTileRows);
        band.rect = {0, top, m_Whole.right, bottom};
        band.cr = ContextOver(data, m_Whole.right, height, 0, 0, band.rect);
        band.painter = std::make_unique<OpPainter>(m_Pool != nullptr, m_Options.fastGradients, true,
                                                   m_Options.ownEdges);
    }
    m_WholeCr = ContextOver(data, m_Whole.right, height, 0, 0, m_Whole);
    m_WholePainter =
        std::make_unique<OpPainter>(true, m_Options.fastGradients, false, m_Options.ownEdges);
}

void FrameRasterizer::Forget() {
    m_TargetHoldsLast = false;
}

bool FrameRasterizer::Draw(std::vector<DrawOp> ops, bool wholeFrame) {
    ++m_Frame;
    m_Stats = Stats{};
    if (m_Whole.IsEmpty())
        return true;  // a minimised window has no pixels to draw
    const bool reuse = m_Options.reuse && wholeFrame;
    if (reuse && m_TargetHoldsLast && ops.size() == m_Last.size() &&
        std::equal(ops.begin(), ops.end(), m_Last.begin(),
                   [](const DrawOp& a, const DrawOp& b) { return a.SameAs(b); })) {
        m_Stats.frameReused = true;
        m_Last = std::move(ops);  // the same, but holding this frame's objects
        m_Stats.layers = m_Layers.size();
        m_Stats.layerBytes = m_LayerBytes;
        return true;
    }
    if (reuse) {
        Plan(ops);
    } else {
        m_Items.clear();
        for (const DrawOp& op : ops) m_Items.push_back({&op, nullptr, false});
    }
    cairo_surface_flush(m_Target);
    const auto start = Clock::now();
    CoverItems();
    const auto covered = Clock::now();
    DrawItems();
    m_Stats.coverMs = Millis(start, covered);
    m_Stats.paintMs = Millis(covered, Clock::now());
    bool ok = cairo_status(m_WholeCr) == CAIRO_STATUS_SUCCESS;
    m_WholePainter->EndFrame();
    for (Band& band : m_Bands) {
        cairo_surface_flush(cairo_get_target(band.cr));
        ok = ok && cairo_status(band.cr) == CAIRO_STATUS_SUCCESS;
        band.painter->EndFrame();
    }
    cairo_surface_mark_dirty(m_Target);
    for (const Item& item : m_Items) {
        if (item.layer) {
            item.layer->drawn = true;
            item.layer->scheduled = false;
        }
    }
    m_Items.clear();
    m_TargetHoldsLast = ok && wholeFrame;
    if (wholeFrame)
        m_Last = std::move(ops);
    else
        m_Last.clear();
    m_Stats.layers = m_Layers.size();
    m_Stats.layerBytes = m_LayerBytes;
    return ok;
}

// Splits the frame into operations drawn as they are and runs of operations that were also
// in the last frame, which come from layers.
void FrameRasterizer::Plan(const std::vector<DrawOp>& ops) {
    std::unordered_multimap<size_t, const DrawOp*> last;
    last.reserve(m_Last.size());
    for (const DrawOp& op : m_Last) last.emplace(op.Hash(), &op);
    const auto wasThere = [&last](const DrawOp& op) {
        auto range = last.equal_range(op.Hash());
        for (auto it = range.first; it != range.second; ++it)
            if (it->second->SameAs(op))
                return true;
        return false;
    };
    m_Items.clear();
    size_t i = 0;
    while (i < ops.size()) {
        size_t end = i;
        while (end < ops.size() && ops[end].kind != DrawOp::Kind::Clear &&
               !OpPainter::DrawnWhole(ops[end]) && wasThere(ops[end]))
            ++end;
        Layer* layer = end - i >= kMinRunForLayer ? LayerFor(&ops[i], end - i) : nullptr;
        if (layer) {
            const bool first = !layer->drawn && !layer->scheduled;
            layer->scheduled = true;
            m_Items.push_back({nullptr, layer, first});
            i = end;
            continue;
        }
        for (const size_t stop = std::max(end, i + 1); i < stop; ++i) {
            m_Items.push_back({&ops[i], nullptr, false});
            m_Stats.opsDrawn++;
        }
    }
    // Layers that no frame has wanted for a while go.
    for (auto it = m_Layers.begin(); it != m_Layers.end();) {
        if (m_Frame - it->second->lastUsed > kLayerMaxAge) {
            m_LayerBytes -= it->second->Bytes();
            it = m_Layers.erase(it);
        } else {
            ++it;
        }
    }
}

FrameRasterizer::Layer* FrameRasterizer::LayerFor(const DrawOp* first, size_t count) {
    size_t key = count;
    PixelRect rect;
    for (size_t i = 0; i < count; ++i) {
        key = key * 1000003u ^ first[i].Hash();
        rect = rect.Union(first[i].bounds);
    }
    rect = rect.Intersect(m_Whole);
    if (rect.IsEmpty())
        return nullptr;
    auto range = m_Layers.equal_range(key);
    for (auto it = range.first; it != range.second; ++it) {
        Layer& layer = *it->second;
        if (layer.ops.size() == count &&
            std::equal(layer.ops.begin(), layer.ops.end(), first,
                       [](const DrawOp& a, const DrawOp& b) { return a.SameAs(b); })) {
            layer.lastUsed = m_Frame;
            m_Stats.opsFromLayers += count;
            return &layer;
        }
    }
    auto layer = std::make_unique<Layer>();
    layer->rect = rect;
    const size_t bytes = layer->Bytes();
    if (bytes > kLayerBudget / 4)
        return nullptr;  // a layer that large would push out everything else
    if (!Evict(bytes))
        return nullptr;  // the layers this frame draws from fill the budget
    const size_t pixels = bytes / 4;
    layer->pixels.reset(new uint32_t[pixels]);
    std::memset(layer->pixels.get(), 0, bytes);
    layer->ops.assign(first, first + count);
    layer->lastUsed = m_Frame;
    m_LayerBytes += bytes;
    m_Stats.layersMade++;
    m_Stats.opsFromLayers += count;
    return m_Layers.emplace(key, std::move(layer))->second.get();
}

// Least recently used first, until needed more bytes fit in the budget. Layers this frame
// draws from stay, since its plan points at them: false when they alone leave no room.
bool FrameRasterizer::Evict(size_t needed) {
    while (m_LayerBytes + needed > kLayerBudget) {
        auto oldest = m_Layers.end();
        for (auto it = m_Layers.begin(); it != m_Layers.end(); ++it) {
            const unsigned long used = it->second->lastUsed;
            if (used != m_Frame && (oldest == m_Layers.end() || used < oldest->second->lastUsed))
                oldest = it;
        }
        if (oldest == m_Layers.end())
            return false;
        m_LayerBytes -= oldest->second->Bytes();
        m_Layers.erase(oldest);
    }
    return true;
}

int FrameRasterizer::AddCoverOp(const DrawOp& op) {
    if (!m_WholePainter->CoversEdges(op))
        return -1;
    m_CoverOps.push_back(&op);
    return static_cast<int>(m_CoverOps.size() - 1);
}

void FrameRasterizer::CoverItems() {
    m_CoverOps.clear();
    for (Item& item : m_Items) {
        if (item.op) {
            item.cover = AddCoverOp(*item.op);
        } else if (item.drawsLayer) {
            item.layer->covers.clear();
            for (const DrawOp& op : item.layer->ops) item.layer->covers.push_back(AddCoverOp(op));
        }
    }
    const size_t count = m_CoverOps.size();
    m_Stats.opsCovered = count;
    m_Covers.assign(count, Cover{});
    if (count == 0)
        return;
    if (m_Glyphs)
        m_Glyphs->BeginFrame();
    const size_t threads = m_Pool ? m_Pool->Threads() : 1;
    const size_t pieces = std::min(count, threads * kCoverPiecesPerThread);
    if (m_Stores.size() < pieces)
        m_Stores.resize(pieces);
    const auto task = [this, count, pieces](size_t piece) {
        CoverStore& store = m_Stores[piece];
        store.Clear();
        CoverBuilder& builder = ThreadCoverBuilder();
        for (size_t i = count * piece / pieces; i < count * (piece + 1) / pieces; ++i)
            m_Covers[i] = builder.Build(*m_CoverOps[i], m_Whole, &store, m_Glyphs.get());
    };
    if (m_Pool && pieces > 1)
        m_Pool->Run(pieces, task);
    else
        for (size_t i = 0; i < pieces; ++i) task(i);
    if (m_Glyphs) {
        m_Stats.glyphsDrawn = m_Glyphs->glyphsDrawn;
        m_Stats.glyphMasksMade = m_Glyphs->masksMade;
        m_Stats.glyphBytes = m_Glyphs->masks.Bytes() + m_Glyphs->edges.Bytes();
    }
}

// The bands draw everything up to an operation that must be drawn whole in parallel, then
// that operation is drawn alone on all of the target.
void FrameRasterizer::DrawItems() {
    size_t begin = 0;
    while (begin < m_Items.size()) {
        size_t end = begin;
        while (end < m_Items.size() &&
               !(m_Items[end].op && OpPainter::DrawnWhole(*m_Items[end].op)))
            ++end;
        if (end > begin) {
            const auto task = [this, begin, end](size_t i) { DrawBand(m_Bands[i], begin, end); };
            if (m_Pool)
                m_Pool->Run(m_Bands.size(), task);
            else
                for (size_t i = 0; i < m_Bands.size(); ++i) task(i);
        }
        if (end < m_Items.size()) {
            m_WholePainter->Paint(m_WholeCr, m_Pixels, *m_Items[end].op, m_Whole,
                                  CoverOf(m_Items[end].cover));
            cairo_surface_flush(cairo_get_target(m_WholeCr));
            ++end;
        }
        begin = end;
    }
}

void FrameRasterizer::DrawBand(Band& band, size_t begin, size_t end) {
    for (size_t k = begin; k < end; ++k) {
        const Item& item = m_Items[k];
        if (item.layer) {
            DrawLayerSlice(band, *item.layer, item.drawsLayer);
        } else if (item.op->bounds.Intersects(band.rect)) {
            band.painter->Paint(band.cr, m_Pixels, *item.op, band.rect, CoverOf(item.cover));
        }
    }
}

// The part of a layer within the band: drawn into the layer the first time, then composited.
// Each band only touches its own rows of the layer, so bands never meet.
void FrameRasterizer::DrawLayerSlice(Band& band, Layer& layer, bool drawsLayer) {
    const PixelRect slice = layer.rect.Intersect(band.rect);
    if (slice.IsEmpty())
        return;
    unsigned char* pixels8 = reinterpret_cast<unsigned char*>(layer.pixels.get());
    cairo_t* cr =
        ContextOver(pixels8, layer.rect.right - layer.rect.left, layer.rect.bottom - layer.rect.top,
                    layer.rect.left, layer.rect.top, slice);
    if (drawsLayer) {
        const PixelTarget pixels{pixels8, (layer.rect.right - layer.rect.left) * 4, layer.rect.left,
                                 layer.rect.top};
        for (size_t i = 0; i < layer.ops.size(); ++i)
            if (layer.ops[i].bounds.Intersects(slice))
                band.painter->Paint(cr, pixels, layer.ops[i], slice, CoverOf(layer.covers[i]));
        cairo_surface_flush(cairo_get_target(cr));
    }
    CairoStateGuard guard(band.cr);
    cairo_identity_matrix(band.cr);
    // The layer's own device offset already places it.
    cairo_set_source_surface(band.cr, cairo_get_target(cr), 0, 0);
    cairo_rectangle(band.cr, slice.left, slice.top, slice.right - slice.left,
                    slice.bottom - slice.top);
    cairo_fill(band.cr);
    cairo_destroy(cr);
}

}  // namespace Gfx
