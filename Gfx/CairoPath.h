#pragma once
#include <cairo.h>

#include <cstddef>
#include <initializer_list>
#include <vector>

#include "Gfx/Types.h"

namespace Gfx {

// A path in Cairo's own layout, built without a context and handed to cairo_append_path.
class CairoPath {
  public:
    void MoveTo(Point2F p) { Push(CAIRO_PATH_MOVE_TO, {p}); }
    void LineTo(Point2F p) { Push(CAIRO_PATH_LINE_TO, {p}); }
    void CurveTo(Point2F a, Point2F b, Point2F c) { Push(CAIRO_PATH_CURVE_TO, {a, b, c}); }
    void ClosePath() { Push(CAIRO_PATH_CLOSE_PATH, {}); }
    bool Empty() const { return m_Data.empty(); }
    void Reserve(size_t elements) { m_Data.reserve(elements); }
    // Points the Cairo view at the data; call after the last element.
    void Seal();
    const cairo_path_t* Get() const { return &m_Path; }

  private:
    void Push(cairo_path_data_type_t type, std::initializer_list<Point2F> points);
    std::vector<cairo_path_data_t> m_Data;
    cairo_path_t m_Path{CAIRO_STATUS_SUCCESS, nullptr, 0};
};

}  // namespace Gfx
