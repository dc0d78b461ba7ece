#include "Import/SvgSyntax.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <svgpp/parser/css_style_iterator.hpp>
#include <svgpp/parser/length.hpp>
#include <svgpp/parser/list_of_points.hpp>
#include <svgpp/parser/misc.hpp>
#include <svgpp/parser/number.hpp>
#include <svgpp/parser/paint.hpp>
#include <svgpp/parser/path_data.hpp>
#include <svgpp/parser/transform_list.hpp>
#include <svgpp/utility/arc_endpoint_to_center.hpp>
#include <svgpp/utility/arc_to_bezier.hpp>

namespace Import {

namespace {

constexpr double kPi = 3.14159265358979323846;

// SVG++ keeps arcs (their degenerate cases need care) and turns everything else into
// absolute lines and cubics.
struct PathPolicy {
    static const bool absolute_coordinates_only = true;
    static const bool no_ortho_line_to = true;
    static const bool no_quadratic_bezier_shorthand = true;
    static const bool no_cubic_bezier_shorthand = true;
    static const bool quadratic_bezier_as_cubic = true;
    static const bool arc_as_cubic_bezier = false;
};

class PathSink {
  public:
    explicit PathSink(Path* out) : m_Out(out) {}

    void path_move_to(double x, double y, svgpp::tag::coordinate::absolute) {
        m_Out->figures.emplace_back();
        m_Out->figures.back().start = {x, y};
        m_Current = m_Start = {x, y};
        m_Open = true;
    }
    void path_line_to(double x, double y, svgpp::tag::coordinate::absolute) {
        Add({Segment::Kind::Line, {}, {}, {x, y}});
    }
    void path_cubic_bezier_to(double x1, double y1, double x2, double y2, double x, double y,
                              svgpp::tag::coordinate::absolute) {
        Add({Segment::Kind::Cubic, {x1, y1}, {x2, y2}, {x, y}});
    }
    void path_quadratic_bezier_to(double, double, double, double,
                                  svgpp::tag::coordinate::absolute) {}
    void path_elliptical_arc_to(double rx, double ry, double rotation, bool large, bool sweep,
                                double x, double y, svgpp::tag::coordinate::absolute) {
        Arc(rx, ry, rotation, large, sweep, {x, y});
    }
    void path_close_subpath() {
        if (m_Open && !m_Out->figures.empty()) {
            m_Out->figures.back().closed = true;
        }
        m_Open = false;
        m_Current = m_Start;
    }
    void path_exit() {}

  private:
    // A drawing command right after a close starts a new figure at the closed one's start.
    void Add(const Segment& s) {
        if (!m_Open) {
            m_Out->figures.emplace_back();
            m_Out->figures.back().start = m_Current;
            m_Start = m_Current;
            m_Open = true;
        }
        m_Out->figures.back().segments.push_back(s);
        m_Current = s.p3;
    }

    // Out-of-range radii as SVG says: zero draws a line, negative counts as positive, too
    // small grows to fit; an arc to its own start point draws nothing.
    void Arc(double rx, double ry, double rotation, bool large, bool sweep, Point to) {
        const Point from = m_Current;
        if (from.x == to.x && from.y == to.y) {
            return;
        }
        rx = std::fabs(rx);
        ry = std::fabs(ry);
        if (rx == 0 || ry == 0 || !std::isfinite(rx) || !std::isfinite(ry)) {
            Add({Segment::Kind::Line, {}, {}, to});
            return;
        }
        const double phi = rotation * kPi / 180;
        double cx, cy, theta1, theta2;
        svgpp::arc_endpoint_to_center(from.x, from.y, to.x, to.y, rx, ry, phi, large, sweep, cx, cy,
                                      theta1, theta2);
        if (sweep && theta2 < theta1) {
            theta2 += 2 * kPi;
        } else if (!sweep && theta2 > theta1) {
            theta2 -= 2 * kPi;
        }
        using ArcToBezier = svgpp::arc_to_bezier<double>;
        ArcToBezier a2b(cx, cy, rx, ry, phi, ArcToBezier::circle_angle_tag(), theta1, theta2,
                        ArcToBezier::max_angle_tag(), kPi / 2);
        Segment last{};
        for (ArcToBezier::iterator it(a2b); !it.eof(); it.advance()) {
            last = {Segment::Kind::Cubic,
                    {it.p1x(), it.p1y()},
                    {it.p2x(), it.p2y()},
                    {it.p3x(), it.p3y()}};
            Add(last);
        }
        // The last Bézier ends exactly where the arc was asked to end.
        if (!m_Out->figures.back().segments.empty()) {
            m_Out->figures.back().segments.back().p3 = to;
            m_Current = to;
        }
    }

    Path* m_Out;
    Point m_Current, m_Start;
    bool m_Open = false;
};

class TransformSink {
  public:
    explicit TransformSink(std::vector<TransformStep>* out) : m_Out(out) {}
    void transform_matrix(const boost::array<double, 6>& m) {
        Push(TransformStep::Kind::Matrix, {m[0], m[1], m[2], m[3], m[4], m[5]});
    }
    void transform_translate(double x, double y) {
        Push(TransformStep::Kind::Translate, {x, y, 0, 0, 0, 0});
    }
    void transform_translate(double x) { transform_translate(x, 0); }
    void transform_scale(double x, double y) {
        Push(TransformStep::Kind::Scale, {x, y, 0, 0, 0, 0});
    }
    void transform_scale(double s) { transform_scale(s, s); }
    void transform_rotate(double angle) { transform_rotate(angle, 0, 0); }
    void transform_rotate(double angle, double cx, double cy) {
        Push(TransformStep::Kind::Rotate, {angle, cx, cy, 0, 0, 0});
    }
    void transform_skew_x(double angle) {
        Push(TransformStep::Kind::Matrix, {1, 0, std::tan(angle * kPi / 180), 1, 0, 0});
    }
    void transform_skew_y(double angle) {
        Push(TransformStep::Kind::Matrix, {1, std::tan(angle * kPi / 180), 0, 1, 0, 0});
    }

  private:
    void Push(TransformStep::Kind kind, std::initializer_list<double> values) {
        TransformStep step;
        step.kind = kind;
        std::copy(values.begin(), values.end(), step.v);
        m_Out->push_back(step);
    }
    std::vector<TransformStep>* m_Out;
};

Rgba FromPacked(int packed) {
    return {((packed >> 16) & 255) / 255.0, ((packed >> 8) & 255) / 255.0, (packed & 255) / 255.0,
            1};
}

template <class Range>
std::string ToString(const Range& range) {
    return std::string(boost::begin(range), boost::end(range));
}

class PaintSink {
  public:
    explicit PaintSink(Paint* out) : m_Out(out) {}
    template <class Tag>
    void set(Tag, svgpp::tag::value::none) {
        m_Out->kind = Paint::Kind::None;
    }
    template <class Tag>
    void set(Tag, svgpp::tag::value::currentColor) {
        m_Out->kind = Paint::Kind::CurrentColor;
    }
    template <class Tag>
    void set(Tag, svgpp::tag::value::inherit) {
        m_Inherit = true;
    }
    template <class Tag>
    void set(Tag, int color) {
        m_Out->kind = Paint::Kind::Color;
        m_Out->color = FromPacked(color);
    }
    template <class Tag, class Icc>
    void set(Tag, int color, const Icc&) {
        set(Tag(), color);
    }
    template <class Tag, class Iri>
    void set(Tag, svgpp::tag::iri_fragment, const Iri& iri) {
        Url(ToString(iri));
    }
    template <class Tag, class Iri>
    void set(Tag, const Iri& iri) {
        Url(std::string(1, '\x01') + ToString(iri));  // not local: never found
    }
    template <class Tag, class Iri, class Fallback>
    void set(Tag, svgpp::tag::iri_fragment, const Iri& iri, Fallback fallback) {
        Url(ToString(iri));
        Fallback_(fallback);
    }
    template <class Tag, class Iri, class Fallback>
    void set(Tag, const Iri& iri, Fallback fallback) {
        Url(std::string(1, '\x01') + ToString(iri));
        Fallback_(fallback);
    }
    template <class Tag, class Iri, class Icc>
    void set(Tag, svgpp::tag::iri_fragment, const Iri& iri, int color, const Icc&) {
        set(Tag(), svgpp::tag::iri_fragment(), iri, color);
    }
    template <class Tag, class Iri, class Icc>
    void set(Tag, const Iri& iri, int color, const Icc&) {
        set(Tag(), iri, color);
    }
    bool Inherit() const { return m_Inherit; }

  private:
    void Url(const std::string& id) {
        m_Out->kind = Paint::Kind::Url;
        m_Out->url = id;
    }
    void Fallback_(svgpp::tag::value::none) {
        m_Out->hasFallback = true;
        m_Out->fallback = Paint::Kind::None;
    }
    void Fallback_(svgpp::tag::value::currentColor) {
        m_Out->hasFallback = true;
        m_Out->fallback = Paint::Kind::CurrentColor;
    }
    void Fallback_(int color) {
        m_Out->hasFallback = true;
        m_Out->fallback = Paint::Kind::Color;
        m_Out->fallbackColor = FromPacked(color);
    }
    Paint* m_Out;
    bool m_Inherit = false;
};

struct LengthFactory {
    typedef Length length_type;
    typedef double number_type;
    static Length Make(double v, Length::Unit u) { return {v, u}; }
    Length create_length(double v, svgpp::tag::length_units::none) const {
        return Make(v, Length::Unit::None);
    }
    Length create_length(double v, svgpp::tag::length_units::px) const {
        return Make(v, Length::Unit::Px);
    }
    Length create_length(double v, svgpp::tag::length_units::pt) const {
        return Make(v, Length::Unit::Pt);
    }
    Length create_length(double v, svgpp::tag::length_units::pc) const {
        return Make(v, Length::Unit::Pc);
    }
    Length create_length(double v, svgpp::tag::length_units::mm) const {
        return Make(v, Length::Unit::Mm);
    }
    Length create_length(double v, svgpp::tag::length_units::cm) const {
        return Make(v, Length::Unit::Cm);
    }
    Length create_length(double v, svgpp::tag::length_units::in) const {
        return Make(v, Length::Unit::In);
    }
    Length create_length(double v, svgpp::tag::length_units::em) const {
        return Make(v, Length::Unit::Em);
    }
    Length create_length(double v, svgpp::tag::length_units::ex) const {
        return Make(v, Length::Unit::Ex);
    }
    template <class Direction>
    Length create_length(double v, svgpp::tag::length_units::percent, Direction) const {
        return Make(v, Length::Unit::Percent);
    }
};

class LengthSink {
  public:
    typedef const LengthFactory length_factory_type;
    explicit LengthSink(Length* out) : m_Out(out) {}
    length_factory_type& length_factory() const { return m_Factory; }
    template <class Tag>
    void set(Tag, const Length& value) {
        *m_Out = value;
    }
    template <class Tag>
    void set(Tag, svgpp::tag::value::inherit) {
        m_Failed = true;
    }
    bool Failed() const { return m_Failed; }

  private:
    Length* m_Out;
    LengthFactory m_Factory;
    bool m_Failed = false;
};

struct ValueSink {
    double number = NAN;
    std::vector<Point> points;
    double box[4] = {0, 0, 0, 0};
    AspectRatio ratio;

    template <class Tag>
    void set(Tag, double value) {
        number = value;
    }
    template <class Tag, class Range>
    void set(Tag, const Range& range) {
        for (const auto& pair : range) {
            points.push_back({pair.first, pair.second});
        }
    }
    void set(svgpp::tag::attribute::viewBox, double x, double y, double w, double h) {
        box[0] = x, box[1] = y, box[2] = w, box[3] = h;
    }
    void set(svgpp::tag::attribute::preserveAspectRatio, bool, svgpp::tag::value::none) {
        ratio.x = ratio.y = AspectRatio::Align::None;
    }
    template <class Align, class MeetOrSlice>
    void set(svgpp::tag::attribute::preserveAspectRatio, bool, Align, MeetOrSlice) {
        Assign(Align());
        ratio.slice = std::is_same<MeetOrSlice, svgpp::tag::value::slice>::value;
    }

  private:
    using A = AspectRatio::Align;
    void Set(A x, A y) { ratio.x = x, ratio.y = y; }
    void Assign(svgpp::tag::value::xMinYMin) { Set(A::Min, A::Min); }
    void Assign(svgpp::tag::value::xMidYMin) { Set(A::Mid, A::Min); }
    void Assign(svgpp::tag::value::xMaxYMin) { Set(A::Max, A::Min); }
    void Assign(svgpp::tag::value::xMinYMid) { Set(A::Min, A::Mid); }
    void Assign(svgpp::tag::value::xMidYMid) { Set(A::Mid, A::Mid); }
    void Assign(svgpp::tag::value::xMaxYMid) { Set(A::Max, A::Mid); }
    void Assign(svgpp::tag::value::xMinYMax) { Set(A::Min, A::Max); }
    void Assign(svgpp::tag::value::xMidYMax) { Set(A::Mid, A::Max); }
    void Assign(svgpp::tag::value::xMaxYMax) { Set(A::Max, A::Max); }
};

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) {
        ++b;
    }
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) {
        --e;
    }
    return s.substr(b, e - b);
}

std::string Lower(std::string s) {
    for (auto& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

// The arguments of a CSS colour function (commas, spaces or a slash between them), each
// a number with an optional % sign.
bool FunctionArguments(const std::string& inside, std::vector<std::pair<double, bool>>* out) {
    const char* p = inside.c_str();
    while (*p) {
        while (*p == ' ' || *p == ',' || *p == '/' || *p == '\t') {
            ++p;
        }
        if (!*p) {
            break;
        }
        char* end = nullptr;
        const double v = std::strtod(p, &end);
        if (end == p || !std::isfinite(v)) {
            return false;
        }
        p = end;
        bool percent = false;
        if (*p == '%') {
            percent = true;
            ++p;
        } else if (std::strncmp(p, "deg", 3) == 0) {
            p += 3;
        }
        out->push_back({v, percent});
    }
    return true;
}

double Clamp01(double v) {
    return std::min(1.0, std::max(0.0, v));
}

double HueToRgb(double m1, double m2, double h) {
    h -= std::floor(h);
    if (h * 6 < 1)
        return m1 + (m2 - m1) * h * 6;
    if (h * 2 < 1)
        return m2;
    if (h * 3 < 2)
        return m1 + (m2 - m1) * (2.0 / 3 - h) * 6;
    return m1;
}

// The CSS colour forms SVG 1.1's grammar lacks.
bool ParseCssColorFunction(const std::string& text, Rgba* out) {
    const std::string s = Lower(Trim(text));
    if (s == "transparent") {
        *out = {0, 0, 0, 0};
        return true;
    }
    if (!s.empty() && s[0] == '#' && (s.size() == 5 || s.size() == 9)) {
        const bool shortForm = s.size() == 5;
        double c[4];
        for (int i = 0; i < 4; ++i) {
            const std::string digits =
                shortForm ? std::string(2, s[1 + i]) : s.substr(1 + 2 * i, 2);
            if (!std::isxdigit(static_cast<unsigned char>(digits[0])) ||
                !std::isxdigit(static_cast<unsigned char>(digits[1]))) {
                return false;
            }
            c[i] = std::strtol(digits.c_str(), nullptr, 16) / 255.0;
        }
        *out = {c[0], c[1], c[2], c[3]};
        return true;
    }
    const size_t open = s.find('(');
    if (open == std::string::npos || s.back() != ')') {
        return false;
    }
    const std::string name = Trim(s.substr(0, open));
    std::vector<std::pair<double, bool>> args;
    if (!FunctionArguments(s.substr(open + 1, s.size() - open - 2), &args) ||
        (args.size() != 3 && args.size() != 4)) {
        return false;
    }
    const double alpha =
        args.size() == 4 ? Clamp01(args[3].second ? args[3].first / 100 : args[3].first) : 1;
    if (name == "rgb" || name == "rgba") {
        double c[3];
        for (int i = 0; i < 3; ++i) {
            c[i] = Clamp01(args[i].second ? args[i].first / 100 : args[i].first / 255);
        }
        *out = {c[0], c[1], c[2], alpha};
        return true;
    }
    if (name == "hsl" || name == "hsla") {
        const double h = args[0].first / 360;
        const double sat = Clamp01(args[1].first / 100), light = Clamp01(args[2].first / 100);
        const double m2 = light <= 0.5 ? light * (sat + 1) : light + sat - light * sat;
        const double m1 = light * 2 - m2;
        *out = {HueToRgb(m1, m2, h + 1.0 / 3), HueToRgb(m1, m2, h), HueToRgb(m1, m2, h - 1.0 / 3),
                alpha};
        return true;
    }
    return false;
}

template <class Sink, class Parser, class Tag>
bool Run(const std::string& text, Sink& sink, Tag tag) {
    try {
        return Parser::parse(tag, sink, text, svgpp::tag::source::attribute());
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

bool ParsePathData(const std::string& data, Path* out) {
    out->figures.clear();
    PathSink sink(out);
    using Parser = svgpp::value_parser<svgpp::tag::type::path_data, svgpp::path_policy<PathPolicy>>;
    const bool ok = Run<PathSink, Parser>(data, sink, svgpp::tag::attribute::d());
    return ok;
}

Affine TransformStep::ToAffine() const {
    switch (kind) {
        case Kind::Translate:
            return Affine::Translate(v[0], v[1]);
        case Kind::Scale:
            return Affine::Scaling(v[0], v[1]);
        case Kind::Rotate:
            return Affine::Translate(v[1], v[2]) * Affine::Rotate(v[0]) *
                   Affine::Translate(-v[1], -v[2]);
        case Kind::Matrix:
            break;
    }
    return {v[0], v[1], v[2], v[3], v[4], v[5]};
}

bool ParseTransformList(const std::string& text, std::vector<TransformStep>* out) {
    out->clear();
    TransformSink sink(out);
    using Parser = svgpp::value_parser<svgpp::tag::type::transform_list,
                                       svgpp::transform_policy<svgpp::policy::transform::raw>>;
    if (!Run<TransformSink, Parser>(text, sink, svgpp::tag::attribute::transform())) {
        out->clear();
        return false;
    }
    return true;
}

bool ParseColor(const std::string& text, Rgba* out) {
    Paint paint;
    if (ParsePaint(text, &paint) && paint.kind == Paint::Kind::Color) {
        *out = paint.color;
        return true;
    }
    return false;
}

bool ParsePaint(const std::string& text, Paint* out) {
    *out = Paint{};
    Rgba css;
    if (ParseCssColorFunction(text, &css)) {
        out->kind = Paint::Kind::Color;
        out->color = css;
        return true;
    }
    PaintSink sink(out);
    using Parser = svgpp::value_parser<svgpp::tag::type::paint>;
    const std::string trimmed = Trim(text);
    if (!Run<PaintSink, Parser>(trimmed, sink, svgpp::tag::attribute::fill())) {
        return false;
    }
    return !sink.Inherit();
}

double Length::Resolve(double fontSize, double reference) const {
    switch (unit) {
        case Unit::None:
        case Unit::Px:
            return value;
        case Unit::Pt:
            return value * 96 / 72;
        case Unit::Pc:
            return value * 16;
        case Unit::Mm:
            return value * 96 / 25.4;
        case Unit::Cm:
            return value * 96 / 2.54;
        case Unit::In:
            return value * 96;
        case Unit::Em:
            return value * fontSize;
        case Unit::Ex:
            return value * fontSize / 2;
        case Unit::Percent:
            return value * reference / 100;
    }
    return value;
}

bool ParseLength(const std::string& text, Length* out) {
    LengthSink sink(out);
    using Parser = svgpp::value_parser<
        svgpp::tag::type::length,
        svgpp::length_policy<svgpp::policy::length::forward_to_method<LengthSink>>>;
    const bool ok = Run<LengthSink, Parser>(Trim(text), sink, svgpp::tag::attribute::x());
    return ok && !sink.Failed() && std::isfinite(out->value);
}

bool ParseNumber(const std::string& text, double* out, bool percentAllowed) {
    ValueSink sink;
    const std::string t = Trim(text);
    bool ok;
    if (percentAllowed) {
        using Parser = svgpp::value_parser<
            boost::mpl::pair<svgpp::tag::element::stop, svgpp::tag::attribute::offset>>;
        ok = Run<ValueSink, Parser>(t, sink, svgpp::tag::attribute::offset());
    } else {
        using Parser = svgpp::value_parser<svgpp::tag::type::number>;
        ok = Run<ValueSink, Parser>(t, sink, svgpp::tag::attribute::opacity());
    }
    if (!ok || !std::isfinite(sink.number)) {
        return false;
    }
    *out = sink.number;
    return true;
}

bool ParsePoints(const std::string& text, std::vector<Point>* out) {
    ValueSink sink;
    using Parser = svgpp::value_parser<svgpp::tag::attribute::points>;
    const bool ok = Run<ValueSink, Parser>(text, sink, svgpp::tag::attribute::points());
    *out = std::move(sink.points);
    return ok;
}

bool ParseViewBox(const std::string& text, double out[4]) {
    ValueSink sink;
    using Parser = svgpp::value_parser<svgpp::tag::attribute::viewBox>;
    if (!Run<ValueSink, Parser>(text, sink, svgpp::tag::attribute::viewBox())) {
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        if (!std::isfinite(sink.box[i])) {
            return false;
        }
        out[i] = sink.box[i];
    }
    // A zero or negative size disables rendering of the element; the caller decides.
    return true;
}

bool ParseAspectRatio(const std::string& text, AspectRatio* out) {
    ValueSink sink;
    using Parser = svgpp::value_parser<svgpp::tag::attribute::preserveAspectRatio>;
    if (!Run<ValueSink, Parser>(Trim(text), sink, svgpp::tag::attribute::preserveAspectRatio())) {
        return false;
    }
    *out = sink.ratio;
    return true;
}

Affine ViewBoxMap(const double vb[4], const AspectRatio& ratio, double x, double y, double width,
                  double height) {
    double sx = width / vb[2], sy = height / vb[3];
    if (ratio.x != AspectRatio::Align::None) {
        const double s = ratio.slice ? std::max(sx, sy) : std::min(sx, sy);
        sx = sy = s;
    }
    auto offset = [](AspectRatio::Align align, double room) {
        switch (align) {
            case AspectRatio::Align::Mid:
                return room / 2;
            case AspectRatio::Align::Max:
                return room;
            default:
                return 0.0;
        }
    };
    const double tx = x + offset(ratio.x, width - vb[2] * sx) - vb[0] * sx;
    const double ty = y + offset(ratio.y, height - vb[3] * sy) - vb[1] * sy;
    return {sx, 0, 0, sy, tx, ty};
}

std::vector<std::pair<std::string, std::string>> SplitDeclarations(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> out;
    for (svgpp::css_style_iterator<std::string::const_iterator> it(text.begin(), text.end());
         !it.eof(); ++it) {
        std::string name = Lower(Trim(ToString(it->first)));
        std::string value = Trim(ToString(it->second));
        // "!important" has no meaning without a cascade between origins; drop the marker.
        const size_t bang = value.find('!');
        if (bang != std::string::npos) {
            value = Trim(value.substr(0, bang));
        }
        if (!name.empty()) {
            out.emplace_back(std::move(name), std::move(value));
        }
    }
    return out;
}

}  // namespace Import
