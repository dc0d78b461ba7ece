#include "Gfx/Raster/GlyphCache.h"

#include <algorithm>
#include <cstring>

namespace Gfx {

bool GlyphKey::operator==(const GlyphKey& o) const {
    return shape == o.shape && std::memcmp(matrix, o.matrix, sizeof(matrix)) == 0 &&
           strokeWidth == o.strokeWidth && fillMode == o.fillMode && subX == o.subX &&
           subY == o.subY;
}

size_t GlyphKey::Hash() const {
    uint64_t h = shape;
    const auto mix = [&h](uint64_t v) { h = (h ^ (v + 0x9e3779b97f4a7c15ull + (h << 6))) * 0xff51afd7ed558ccdull; };
    uint32_t bits[5];
    std::memcpy(bits, matrix, sizeof(matrix));
    std::memcpy(bits + 4, &strokeWidth, sizeof(float));
    for (uint32_t b : bits) mix(b);
    mix(static_cast<uint64_t>(fillMode) << 16 | static_cast<uint64_t>(subX) << 8 | subY);
    return static_cast<size_t>(h);
}

void GlyphCache::BeginFrame() {
    std::lock_guard<std::mutex> lock(m_Mutex);
    ++m_Frame;
    Evict(0);
}

const GlyphMask* GlyphCache::Find(const GlyphKey& key,
                                  const std::function<bool(GlyphMask*)>& make) {
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        auto found = m_Masks.find(key);
        if (found != m_Masks.end()) {
            found->second->lastUsed = m_Frame;
            return found->second.get();
        }
    }
    auto mask = std::make_unique<GlyphMask>();
    if (!make(mask.get()))
        return nullptr;
    std::lock_guard<std::mutex> lock(m_Mutex);
    auto found = m_Masks.find(key);
    if (found != m_Masks.end()) {  // another thread made it meanwhile
        found->second->lastUsed = m_Frame;
        return found->second.get();
    }
    Evict(mask->Bytes());
    if (m_Bytes + mask->Bytes() > m_Budget)
        return nullptr;  // this frame alone needs more than the budget
    mask->lastUsed = m_Frame;
    m_Bytes += mask->Bytes();
    return m_Masks.emplace(key, std::move(mask)).first->second.get();
}

// Drops the least recently used masks not used this frame until needed more bytes fit.
void GlyphCache::Evict(size_t needed) {
    if (m_Bytes + needed <= m_Budget)
        return;
    std::vector<std::pair<unsigned long, const GlyphKey*>> old;
    for (const auto& entry : m_Masks)
        if (entry.second->lastUsed < m_Frame)
            old.emplace_back(entry.second->lastUsed, &entry.first);
    std::sort(old.begin(), old.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    // Down to three quarters, so that eviction does not run again at the next mask.
    const size_t target = m_Budget / 4 * 3;
    for (const auto& o : old) {
        if (m_Bytes + needed <= target)
            break;
        auto it = m_Masks.find(*o.second);
        m_Bytes -= it->second->Bytes();
        m_Masks.erase(it);
    }
}

}  // namespace Gfx
