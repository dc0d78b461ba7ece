#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace Gfx {

// Which coverage a glyph mask holds: the glyph's shape, how it is drawn (filled by a rule
// or stroked at a width in its own space), the device matrix without its translation, and
// where the origin falls inside its pixel, in steps of 1/kSubpixel.
struct GlyphKey {
    uint64_t shape = 0;
    float matrix[4] = {};  // xx yx xy yy
    float strokeWidth = 0;  // 0: filled
    uint8_t fillMode = 0;
    uint8_t subX = 0, subY = 0;

    bool operator==(const GlyphKey& o) const;
    size_t Hash() const;
};

// A glyph's coverage at one sub-pixel position: width x height values, row after row, the
// first at (left, top) from the pixel the origin falls in.
struct GlyphMask {
    int left = 0, top = 0;
    int width = 0, height = 0;
    std::unique_ptr<uint8_t[]> alphas;
    unsigned long lastUsed = 0;

    size_t Bytes() const { return static_cast<size_t>(width) * height + sizeof(GlyphMask) + 64; }
};

// Glyph coverage kept from frame to frame, so that text that only moves is drawn from masks
// instead of being scan converted again. Shared by the threads covering a frame; a mask in
// use this frame is never dropped before the frame ends. Least recently used masks go first
// once more than the budget is held.
class GlyphCache {
  public:
    static constexpr int kSubpixel = 16;  // positions per pixel along each axis
    static constexpr int kMaxSide = 256;  // pixels; larger glyphs are drawn as paths

    explicit GlyphCache(size_t budget) : m_Budget(budget) {}

    void BeginFrame();
    // The mask for key, made by make (which fills in everything but lastUsed, or returns
    // false for a glyph too large to keep) when it is not held. Null when it cannot be kept.
    const GlyphMask* Find(const GlyphKey& key, const std::function<bool(GlyphMask*)>& make);

    size_t Bytes() const { return m_Bytes; }
    size_t Count() const { return m_Masks.size(); }

  private:
    struct KeyHash {
        size_t operator()(const GlyphKey& k) const { return k.Hash(); }
    };
    void Evict(size_t needed);

    size_t m_Budget;
    std::mutex m_Mutex;
    std::unordered_map<GlyphKey, std::unique_ptr<GlyphMask>, KeyHash> m_Masks;
    size_t m_Bytes = 0;
    unsigned long m_Frame = 1;
};

}  // namespace Gfx
