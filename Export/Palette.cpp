#include "Export/Palette.h"

#include <algorithm>
#include <cmath>

namespace ZEL {

namespace {

constexpr int kBins = 1 << 15;

int Key(const uint8_t* p) {
    return (p[2] >> 3) << 10 | (p[1] >> 3) << 5 | p[0] >> 3;
}
uint32_t Rgb(const uint8_t* p) {
    return uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}
int Channel(int key, int c) {
    return (key >> (10 - 5 * c)) & 31;  // c: 0 red, 1 green, 2 blue
}

// A box of 15-bit colours still to be split.
struct Box {
    std::vector<int> keys;
    uint64_t weight = 0;
};

}  // namespace

Palette::Palette() : m_Histogram(kBins, 0), m_Leaders(kBins), m_Exact(kBins, -1) {}

void Palette::Add(const uint8_t* bgra, uint32_t width, uint32_t height, uint32_t stride) {
    for (uint32_t y = 0; y < height; y += 2) {
        const uint8_t* row = bgra + static_cast<size_t>(y) * stride;
        for (uint32_t x = 0; x < width; x += 4) {
            const uint8_t* p = row + 4 * x;
            const int key = Key(p);
            ++m_Histogram[key];
            // Boyer-Moore majority vote: a colour that fills most of its bin ends as leader.
            Leader& leader = m_Leaders[key];
            const uint32_t color = Rgb(p);
            if (leader.votes == 0) {
                leader = Leader{color, 1};
            } else if (leader.color == color) {
                ++leader.votes;
            } else {
                --leader.votes;
            }
        }
    }
}

// The leaders of their bins that cover a large area take the first entries as they are;
// only the rest of their bins' pixels are left to the median cut.
size_t Palette::ReserveExact() {
    uint64_t total = 0;
    for (uint32_t count : m_Histogram) {
        total += count;
    }
    std::vector<int> large;
    for (int k = 0; k < kBins; ++k) {
        if (m_Leaders[k].votes > 0 &&
            m_Leaders[k].votes >= kLargeArea * static_cast<double>(total)) {
            large.push_back(k);
        }
    }
    std::sort(large.begin(), large.end(),
              [this](int a, int b) { return m_Leaders[a].votes > m_Leaders[b].votes; });
    large.resize(std::min(large.size(), kMaxExact));
    for (size_t i = 0; i < large.size(); ++i) {
        const Leader& leader = m_Leaders[large[i]];
        m_Colors[i] = 0xff000000u | leader.color;
        m_Exact[large[i]] = static_cast<int16_t>(i);
        m_Histogram[large[i]] -= leader.votes;
    }
    return large.size();
}

void Palette::Build() {
    m_Colors.fill(0xff000000u);
    const size_t exact = ReserveExact();
    Box all;
    for (int k = 0; k < kBins; ++k) {
        if (m_Histogram[k]) {
            all.keys.push_back(k);
            all.weight += m_Histogram[k];
        }
    }
    std::vector<Box> boxes;
    if (!all.keys.empty()) {
        boxes.push_back(std::move(all));
    }
    // Split the box whose weight times colour range is largest, along its widest channel at
    // the weighted median, to 256 boxes: weight alone would lump rare bright colours (a
    // sun's core) with their neighbours.
    const auto priority = [](const Box& box) {
        if (box.keys.size() < 2) {
            return 0.0;
        }
        int range = 0;
        for (int c = 0; c < 3; ++c) {
            const auto [lo, hi] =
                std::minmax_element(box.keys.begin(), box.keys.end(),
                                    [c](int a, int b) { return Channel(a, c) < Channel(b, c); });
            range = std::max(range, Channel(*hi, c) - Channel(*lo, c));
        }
        return std::sqrt(static_cast<double>(box.weight)) * range;
    };
    while (exact + boxes.size() < 256) {
        auto heaviest =
            std::max_element(boxes.begin(), boxes.end(),
                             [&](const Box& a, const Box& b) { return priority(a) < priority(b); });
        if (heaviest == boxes.end() || heaviest->keys.size() < 2) {
            break;
        }
        int widest = 0, range = -1;
        for (int c = 0; c < 3; ++c) {
            const auto [lo, hi] =
                std::minmax_element(heaviest->keys.begin(), heaviest->keys.end(),
                                    [c](int a, int b) { return Channel(a, c) < Channel(b, c); });
            if (Channel(*hi, c) - Channel(*lo, c) > range) {
                range = Channel(*hi, c) - Channel(*lo, c);
                widest = c;
            }
        }
        std::sort(heaviest->keys.begin(), heaviest->keys.end(),
                  [widest](int a, int b) { return Channel(a, widest) < Channel(b, widest); });
        Box low, high;
        uint64_t half = heaviest->weight / 2, seen = 0;
        for (size_t i = 0; i < heaviest->keys.size(); ++i) {
            const int k = heaviest->keys[i];
            const bool first = i == 0 || (seen < half && i + 1 < heaviest->keys.size());
            Box& into = first ? low : high;
            into.keys.push_back(k);
            into.weight += m_Histogram[k];
            seen += m_Histogram[k];
        }
        *heaviest = std::move(low);
        boxes.push_back(std::move(high));
    }
    // Each further entry is its box's weighted mean.
    for (size_t i = 0; i < boxes.size(); ++i) {
        uint64_t sum[3] = {}, w = 0;
        for (int k : boxes[i].keys) {
            for (int c = 0; c < 3; ++c)
                sum[c] += static_cast<uint64_t>(Channel(k, c) * 8 + 4) * m_Histogram[k];
            w += m_Histogram[k];
        }
        const auto mean = [&](int c) { return static_cast<uint32_t>(w ? sum[c] / w : 0); };
        m_Colors[exact + i] = 0xff000000u | mean(0) << 16 | mean(1) << 8 | mean(2);
    }
    const size_t entries = std::max<size_t>(exact + boxes.size(), 1);
    m_Nearest.assign(kBins, 0);
    for (int k = 0; k < kBins; ++k) {
        int best = 0, bestDistance = 1 << 30;
        for (size_t i = 0; i < entries; ++i) {
            int d = 0;
            for (int c = 0; c < 3; ++c) {
                const int v =
                    Channel(k, c) * 8 + 4 - static_cast<int>((m_Colors[i] >> (16 - 8 * c)) & 255);
                d += v * v;
            }
            if (d < bestDistance) {
                bestDistance = d;
                best = static_cast<int>(i);
            }
        }
        m_Nearest[k] = static_cast<uint8_t>(best);
    }
}

void Palette::Map(const uint8_t* bgra, uint32_t width, uint32_t y, uint8_t* out) const {
    // A 4x4 ordered dither, in eighths of a palette step, keeps smooth gradients from banding.
    static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    for (uint32_t x = 0; x < width; ++x) {
        const uint8_t* p = bgra + 4 * x;
        const int exact = m_Exact[Key(p)];
        if (exact >= 0 && (m_Colors[exact] & 0xffffffu) == Rgb(p)) {
            out[x] = static_cast<uint8_t>(exact);
            continue;
        }
        const int d = kBayer[y & 3][x & 3] / 2 - 4;
        uint8_t dithered[3];
        for (int c = 0; c < 3; ++c)
            dithered[c] = static_cast<uint8_t>(std::clamp(p[c] + d, 0, 255));
        out[x] = m_Nearest[Key(dithered)];
    }
}

}  // namespace ZEL
