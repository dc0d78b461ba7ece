#pragma once
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
// into coverage. Only cells an edge touched are read: the buffer remembers them in a bit
// per block of kBlock columns, so long runs inside or outside a shape cost one span.
class ScanConverter {
  public:
    // Appends the coverage of edges (clipped to their list's clip) to store.
    Cover Convert(const EdgeList& edges, FillMode rule, CoverStore* store);

    static constexpr int kBlock = 16;  // columns a bit stands for

  private:
    void Size(int width, int rows);
    void Accumulate(const Edge& e, float originX, float originY);
    void Mark(int row, int col) {
        m_Touched[static_cast<size_t>(row) * m_Words + (col / kBlock) / 64] |=
            uint64_t{1} << ((col / kBlock) % 64);
    }
    void SweepRow(int row, int x0, int clipRight, FillMode rule, CoverStore* store);

    int m_Width = 0, m_Rows = 0, m_Stride = 0, m_Words = 0;
    std::vector<float> m_Cells;       // m_Rows x m_Stride, all zero between shapes
    std::vector<uint64_t> m_Touched;  // m_Rows x m_Words, all zero between shapes
    std::vector<uint8_t> m_Row;       // one row's coverage while it is swept
};

}  // namespace Gfx
