#include "Gfx/Combine.h"

#include <clipper.hpp>

#include <cmath>

namespace Gfx {

namespace {

// Clipper works on 64-bit integers: 1/1024 DIP keeps the error far below a pixel.
constexpr double kScale = 1024.0;

ClipperLib::Paths ToClipper(const std::vector<Polyline>& polygons) {
    ClipperLib::Paths paths;
    paths.reserve(polygons.size());
    for (const Polyline& poly : polygons) {
        if (poly.points.size() < 3)
            continue;
        ClipperLib::Path path;
        path.reserve(poly.points.size());
        for (const PointD& p : poly.points)
            path.emplace_back(static_cast<ClipperLib::cInt>(std::llround(p.x * kScale)),
                              static_cast<ClipperLib::cInt>(std::llround(p.y * kScale)));
        paths.push_back(std::move(path));
    }
    return paths;
}

ClipperLib::PolyFillType ToClipper(FillMode mode) {
    return mode == FillMode::Winding ? ClipperLib::pftNonZero : ClipperLib::pftEvenOdd;
}

ClipperLib::ClipType ToClipper(CombineMode mode) {
    switch (mode) {
        case CombineMode::Intersect:
            return ClipperLib::ctIntersection;
        case CombineMode::Xor:
            return ClipperLib::ctXor;
        case CombineMode::Exclude:
            return ClipperLib::ctDifference;
        case CombineMode::Union:
        default:
            return ClipperLib::ctUnion;
    }
}

Point2F FromClipper(const ClipperLib::IntPoint& p) {
    return {static_cast<float>(p.X / kScale), static_cast<float>(p.Y / kScale)};
}

}  // namespace

Result CombineOperands(const Operand& first, const Operand& second, CombineMode mode,
                       GeometrySink* sink) {
    const int raw = static_cast<int>(mode);
    if (raw < 0 || raw > 3)
        return kInvalidArg;
    ClipperLib::Paths solution;
    try {
        ClipperLib::Clipper clipper;
        clipper.AddPaths(ToClipper(first.polygons), ClipperLib::ptSubject, true);
        clipper.AddPaths(ToClipper(second.polygons), ClipperLib::ptClip, true);
        if (!clipper.Execute(ToClipper(mode), solution, ToClipper(first.fillMode),
                             ToClipper(second.fillMode)))
            return kFail;
    } catch (const ClipperLib::clipperException&) {
        return kFail;
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
    sink->SetFillMode(FillMode::Alternate);
    for (const ClipperLib::Path& path : solution) {
        if (path.size() < 3)
            continue;
        sink->BeginFigure(FromClipper(path.front()), FigureBegin::Filled);
        for (size_t i = 1; i < path.size(); ++i) sink->AddLine(FromClipper(path[i]));
        sink->EndFigure(FigureEnd::Closed);
    }
    return kOk;
}

}  // namespace Gfx
