#include "Gfx/FontOutline.h"

namespace Gfx {
namespace {

// Turns Cairo's move/line/curve/close stream into figures. A figure begins lazily at the
// first segment so that the move Cairo inserts after each close makes no empty figure.
class FigureWriter {
  public:
    explicit FigureWriter(GeometrySink* sink) : m_Sink(sink) {}
    ~FigureWriter() { Close(); }
    FigureWriter(const FigureWriter&) = delete;
    FigureWriter& operator=(const FigureWriter&) = delete;

    void MoveTo(Point2F p) {
        Close();
        m_Start = m_Current = p;
    }
    void LineTo(Point2F p) {
        Open();
        m_Sink->AddLine(p);
        m_Current = p;
    }
    void CurveTo(Point2F p1, Point2F p2, Point2F p3) {
        Open();
        m_Sink->AddBezier(p1, p2, p3);
        m_Current = p3;
    }
    void Close() {
        if (m_Open) {
            m_Sink->EndFigure(FigureEnd::Closed);
            m_Open = false;
        }
        m_Current = m_Start;
    }

  private:
    void Open() {
        if (!m_Open) {
            m_Sink->BeginFigure(m_Current, FigureBegin::Filled);
            m_Start = m_Current;
            m_Open = true;
        }
    }

    GeometrySink* m_Sink;
    Point2F m_Start, m_Current;
    bool m_Open = false;
};

Point2F At(const cairo_path_data_t* data, int i) {
    return {static_cast<float>(data[i].point.x), static_cast<float>(data[i].point.y)};
}

}  // namespace

void WriteCairoPath(const cairo_path_t& path, GeometrySink* sink) {
    FigureWriter writer(sink);
    for (int i = 0; i < path.num_data; i += path.data[i].header.length) {
        const cairo_path_data_t* d = &path.data[i];
        switch (d->header.type) {
            case CAIRO_PATH_MOVE_TO:
                writer.MoveTo(At(d, 1));
                break;
            case CAIRO_PATH_LINE_TO:
                writer.LineTo(At(d, 1));
                break;
            case CAIRO_PATH_CURVE_TO:
                writer.CurveTo(At(d, 1), At(d, 2), At(d, 3));
                break;
            case CAIRO_PATH_CLOSE_PATH:
                writer.Close();
                break;
        }
    }
}

}  // namespace Gfx
