#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

#include "Gfx/Geometry.h"
#include "Gfx/Raster/Coverage.h"
#include "Gfx/Raster/EdgeList.h"

namespace Gfx {

// Turns edges into the exact share of each pixel's area that the outline covers, under the
// non-zero or the even-odd rule. Each edge adds, to every pixel row it crosses, its signed
// height there and the area it leaves to its right into cells of an accumulation buffer
// (the method of FreeType's gray rasterizer and font-rs); a sweep along each row sums them
// into coverage. Small shapes come out as a dense mask, swept from the first to the last
// cell an edge touched in each row. Larger ones come out as spans: only cells an edge
// touched are read, the buffer remembering them in a bit per block of kBlock columns, so
// long runs inside or outside a shape cost one span.
class ScanConverter {
  public:
    // Appends the coverage of edges (clipped to their list's clip) to store.
    Cover Convert(const EdgeList& edges, FillMode rule, CoverStore* store);

    static constexpr int kBlock = 16;       // columns a bit stands for
    static constexpr int kDenseWidth = 96;  // widest shape covered as a dense mask, pixels

  private:
    void Size(int width, int rows);
    Cover Dense(const EdgeList& edges, FillMode rule, int x0, int y0, int y1, int width,
                CoverStore* store);
    template <bool kDense>
    void Accumulate(const Edge& e, float originX, float originY);
    // Remembers that cells first..last of row hold something.
    template <bool kDense>
    void Touch(int row, int first, int last) {
        if (kDense) {
            m_First[row] = std::min(m_First[row], first);
            m_Last[row] = std::max(m_Last[row], last);
            return;
        }
        uint64_t* words = m_Touched.data() + static_cast<size_t>(row) * m_Words;
        for (int block = first / kBlock; block <= last / kBlock; ++block)
            words[block / 64] |= uint64_t{1} << (block % 64);
    }
    template <bool kEvenOdd>
    void SweepRow(int row, int x0, int clipRight, CoverStore* store);

    int m_Width = 0, m_Rows = 0, m_Stride = 0, m_Words = 0;
    std::vector<float> m_Cells;        // m_Rows x m_Stride, all zero between shapes
    std::vector<uint64_t> m_Touched;   // m_Rows x m_Words, all zero between shapes
    std::vector<uint8_t> m_Row;        // one row's coverage while it is swept
    std::vector<int> m_First, m_Last;  // dense: the touched cells of each row
};

}  // namespace Gfx
