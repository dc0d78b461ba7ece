#include "Gfx/CairoPath.h"

namespace Gfx {

void CairoPath::Push(cairo_path_data_type_t type, std::initializer_list<Point2F> points) {
    cairo_path_data_t header;
    header.header.type = type;
    header.header.length = static_cast<int>(points.size()) + 1;
    m_Data.push_back(header);
    for (const Point2F& p : points) {
        cairo_path_data_t point;
        point.point.x = p.x;
        point.point.y = p.y;
        m_Data.push_back(point);
    }
}

void CairoPath::Seal() {
    m_Path.data = m_Data.data();
    m_Path.num_data = static_cast<int>(m_Data.size());
}

}  // namespace Gfx
