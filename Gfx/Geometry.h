#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "Gfx/Matrix.h"
#include "Gfx/Result.h"

namespace Gfx {

enum class FillMode { Alternate, Winding };
enum class FigureBegin { Filled, Hollow };
enum class FigureEnd { Open, Closed };
enum class CombineMode { Union = 0, Intersect = 1, Xor = 2, Exclude = 3 };

// Receives figures. Geometries, combinations and glyph outlines all write through this.
class GeometrySink {
  public:
    virtual ~GeometrySink() = default;
    virtual void SetFillMode(FillMode mode) = 0;
    virtual void BeginFigure(Point2F start, FigureBegin begin) = 0;
    virtual void AddLine(Point2F to) = 0;
    virtual void AddBezier(Point2F p1, Point2F p2, Point2F p3) = 0;
    virtual void EndFigure(FigureEnd end) = 0;
    // Ends writing; a sink used out of order (a segment outside a figure) fails here.
    virtual Result Close() = 0;
    // The figures that follow, up to the next call, outline one glyph with its origin at
    // origin: text outlines say so, so that their coverage can be kept glyph by glyph.
    // Sinks that have no use for it ignore it.
    virtual void BeginGlyph(Point2F origin) { (void)origin; }
};

// One figure of a path: a start point, then lines and cubic Béziers.
struct PathFigure {
    enum class Kind { Line, Bezier };
    struct Segment {
        Kind kind;
        Point2F p1, p2, p3;  // a line uses p3 only
    };
    Point2F start;
    std::vector<Segment> segments;
    bool closed = false;
    bool filled = true;  // false for a hollow figure: stroked, never filled
};

// One glyph of a text outline: its figures, where its origin is, and a digest of its shape
// relative to that origin (equal for equal glyphs of one font and size, wherever they are).
struct GlyphOutline {
    Point2F origin;
    uint32_t firstFigure = 0, figureCount = 0;
    uint64_t shape = 0;
};

struct PathData {
    FillMode fillMode = FillMode::Alternate;
    std::vector<PathFigure> figures;
    // For text: every figure, glyph by glyph. Empty for other paths.
    std::shared_ptr<const std::vector<GlyphOutline>> glyphs;
};

// An immutable path with a fill rule. Coordinates are in the space it is drawn in
// (device-independent pixels before the target's transform).
class Geometry : public std::enable_shared_from_this<Geometry> {
  public:
    explicit Geometry(PathData data);
    ~Geometry();
    Geometry(const Geometry&) = delete;
    Geometry& operator=(const Geometry&) = delete;

    const PathData& Data() const { return m_Data; }
    // False when a coordinate is not finite or beyond +-1e7: such a geometry draws nothing.
    bool IsDrawable() const { return m_Drawable; }
    bool IsEmpty() const { return m_Data.figures.empty(); }

    // Tight bounds after the optional transform; an empty geometry gives
    // left = top = +inf, right = bottom = -inf (right < left).
    Result GetBounds(const Matrix3x2* transform, RectF* bounds) const;
    // Bounds of the stroke of the given width (flat caps, miter joins, limit 10).
    Result GetWidenedBounds(float strokeWidth, const Matrix3x2* transform, float tolerance,
                            RectF* bounds) const;
    Result FillContainsPoint(Point2F point, const Matrix3x2* transform, float tolerance,
                             bool* contains) const;
    // Boolean combination with input, written to sink as closed figures
    // (fill mode Alternate). Curves are flattened at tolerance.
    Result CombineWithGeometry(const Geometry& input, CombineMode mode,
                               const Matrix3x2* inputTransform, float tolerance,
                               GeometrySink* sink) const;
    // Flattened outline as polygons (closed or open polylines), tolerance in user units.
    std::vector<std::vector<Point2F>> Flatten(float tolerance) const;

    // Bounds of every point, control points included: cheap, and never smaller than the
    // drawn shape. Empty (right < left) without points.
    const RectF& Hull() const { return m_Hull; }

    // Opaque handle to the backend's cached path; used by RenderTarget only.
    struct Native;
    const Native* GetNative() const { return m_Native.get(); }

  private:
    PathData m_Data;
    bool m_Drawable = true;
    RectF m_Hull;
    std::unique_ptr<Native> m_Native;
};

// A path under construction: Open() gives the sink, Close() on the sink finishes it, then
// Geometry() hands out the immutable result.
class PathBuilder : public GeometrySink {
  public:
    void SetFillMode(FillMode mode) override;
    void BeginFigure(Point2F start, FigureBegin begin) override;
    void AddLine(Point2F to) override;
    void AddBezier(Point2F p1, Point2F p2, Point2F p3) override;
    void EndFigure(FigureEnd end) override;
    Result Close() override;
    void BeginGlyph(Point2F origin) override;
    // Only after a successful Close(); otherwise empty.
    std::shared_ptr<Geometry> GetGeometry() const { return m_Result; }

  private:
    PathData m_Data;
    std::vector<GlyphOutline> m_Glyphs;
    bool m_InFigure = false;
    bool m_Closed = false;
    bool m_Broken = false;
    std::shared_ptr<Geometry> m_Result;
};

Result CreateRectangleGeometry(const RectF& rect, std::shared_ptr<Geometry>* out);
// Built from four cubic Béziers, never arcs.
Result CreateEllipseGeometry(Point2F center, float radiusX, float radiusY,
                             std::shared_ptr<Geometry>* out);
Result CreateTransformedGeometry(const Geometry& source, const Matrix3x2& transform,
                                 std::shared_ptr<Geometry>* out);

}  // namespace Gfx
