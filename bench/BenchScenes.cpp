#include "BenchScenes.h"

#include <cmath>
#include <sstream>

namespace {

constexpr int kEllipses = 1000;
constexpr int kRects = 200;
constexpr int kBitmaps = 100;
constexpr int kGroups = 40;
constexpr int kColours = 8;

// Deterministic scene layout shared by both renderers.
struct Layout {
    float x, y, r;
};
Layout EllipseAt(int i) {
    const unsigned h = static_cast<unsigned>(i) * 2654435761u;
    return Layout{static_cast<float>(h % 800), static_cast<float>((h >> 10) % 600),
                  5.0f + static_cast<float>((h >> 20) % 20)};
}
const float kPalette[kColours][3] = {{0.9f, 0.2f, 0.4f}, {0.2f, 0.6f, 0.9f}, {1.0f, 0.6f, 0.1f},
                                     {0.3f, 0.8f, 0.5f}, {0.6f, 0.3f, 0.9f}, {0.9f, 0.9f, 0.2f},
                                     {0.1f, 0.3f, 0.5f}, {0.8f, 0.4f, 0.7f}};

std::string Frame(const std::string& geometries, const std::string& brushes,
                  const std::string& images, const std::string& transforms,
                  const std::string& executables, const std::string& controllers,
                  const std::string& controller) {
    return "Scenimator{\n" + geometries + brushes + images + transforms + "noOfChildZels 0\n" +
           executables + controllers +
           "noOfAnimations 1\nMainAnim Animation{ renderFunction draw controller " + controller +
           " transitionTarget MainAnim }\n}\n";
}

std::string SolidBrushes() {
    std::ostringstream s;
    s << "noOfBrushes " << kColours << "\n";
    for (int c = 0; c < kColours; ++c) {
        s << "b" << c << " SolidColorBrush{ Color{ " << kPalette[c][0] << ' ' << kPalette[c][1]
          << ' ' << kPalette[c][2] << " 1 } opacity 1 }\n";
    }
    return s.str();
}

std::string FillAll(const char* prefix, int count) {
    std::ostringstream s;
    s << "noOfExecutables 1\ndraw Procedure{ noOfCommands " << count;
    for (int i = 0; i < count; ++i) {
        s << " Fill{ " << prefix << i << " b" << i % kColours << " }";
    }
    s << " }\n";
    return s.str();
}

void EllipsePath(cairo_t* cr, float x, float y, float r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_close_path(cr);
}

void SetPalette(cairo_t* cr, int i) {
    const float* c = kPalette[i % kColours];
    cairo_set_source_rgba(cr, c[0], c[1], c[2], 1);
}

// 1. Static ellipses.
std::string StaticEllipses() {
    std::ostringstream g;
    g << "noOfGeometries " << kEllipses << "\n";
    for (int i = 0; i < kEllipses; ++i) {
        const Layout l = EllipseAt(i);
        g << "e" << i << " Ellipse{ center Point{ " << l.x << ' ' << l.y << " } radiusX " << l.r
          << " radiusY " << l.r << " hitTest 0 }\n";
    }
    return Frame(g.str(), SolidBrushes(), "noOfImages 0\n", "noOfTransforms 0\n",
                 FillAll("e", kEllipses), "noOfControllers 0\n", "null");
}
void StaticEllipsesByHand(cairo_t* cr, uint32_t, cairo_surface_t*) {
    for (int i = 0; i < kEllipses; ++i) {
        const Layout l = EllipseAt(i);
        EllipsePath(cr, l.x, l.y, l.r);
        SetPalette(cr, i);
        cairo_fill(cr);
    }
}

// 2. Ellipses whose centres move along lines, one controller pair per ellipse.
constexpr int kMovePeriod = 4000;  // ms
std::string MovingEllipses() {
    std::ostringstream g, c;
    g << "noOfGeometries " << kEllipses << "\n";
    c << "noOfControllers 1\nmove Const{ target null begin 0 end " << kMovePeriod
      << " loops 1 value 0 noOfChildren " << kEllipses;
    for (int i = 0; i < kEllipses; ++i) {
        const Layout l = EllipseAt(i);
        g << "e" << i << " Ellipse{ center Point{ $x" << i << " $y" << i << " } radiusX " << l.r
          << " radiusY " << l.r << " hitTest 0 }\n";
        c << " Linear2d{ target $x" << i << " begin 0 end " << kMovePeriod << " loops 1 targetY $y"
          << i << " beginValue " << l.x << ' ' << l.y << " endValue " << l.x + 100 << ' '
          << l.y + 50 << " noOfChildren 0 }";
    }
    c << " }\n";
    return Frame(g.str(), SolidBrushes(), "noOfImages 0\n", "noOfTransforms 0\n",
                 FillAll("e", kEllipses), c.str(), "move");
}
void MovingEllipsesByHand(cairo_t* cr, uint32_t time, cairo_surface_t*) {
    const double f = static_cast<double>(time % kMovePeriod) / kMovePeriod;
    for (int i = 0; i < kEllipses; ++i) {
        const Layout l = EllipseAt(i);
        EllipsePath(cr, static_cast<float>(l.x + 100 * f), static_cast<float>(l.y + 50 * f), l.r);
        SetPalette(cr, i);
        cairo_fill(cr);
    }
}

// 3. Gradient-filled rectangles, four brushes.
std::string GradientRects() {
    std::ostringstream g, b, e;
    g << "noOfGeometries " << kRects << "\n";
    for (int i = 0; i < kRects; ++i) {
        g << "r" << i << " Rectangle{ x " << (i % 20) * 40 << " y " << (i / 20) * 60
          << " w 38 h 58 hitTest 0 }\n";
    }
    b << "noOfBrushes " << kColours << "\n";
    for (int c = 0; c < kColours; ++c) {
        b << "b" << c << " LinearGradientBrush{ start Point{ 0 0 } end Point{ 40 60 } "
          << "GradientStopCollection{ noOfGradientStops 2 GradientStop{ 0 Color{ " << kPalette[c][0]
          << ' ' << kPalette[c][1] << ' ' << kPalette[c][2]
          << " 1 } } GradientStop{ 1 Color{ 0 0 0.2 1 } } extendMode " << c % 3
          << " } opacity 1 }\n";
    }
    return Frame(g.str(), b.str(), "noOfImages 0\n", "noOfTransforms 0\n", FillAll("r", kRects),
                 "noOfControllers 0\n", "null");
}
void GradientRectsByHand(cairo_t* cr, uint32_t, cairo_surface_t*) {
    static cairo_pattern_t* patterns[kColours] = {};
    if (!patterns[0]) {
        const cairo_extend_t extend[3] = {CAIRO_EXTEND_PAD, CAIRO_EXTEND_REPEAT,
                                          CAIRO_EXTEND_REFLECT};
        for (int c = 0; c < kColours; ++c) {
            patterns[c] = cairo_pattern_create_linear(0, 0, 40, 60);
            cairo_pattern_add_color_stop_rgba(patterns[c], 0, kPalette[c][0], kPalette[c][1],
                                              kPalette[c][2], 1);
            cairo_pattern_add_color_stop_rgba(patterns[c], 1, 0, 0, 0.2, 1);
            cairo_pattern_set_extend(patterns[c], extend[c % 3]);
        }
    }
    for (int i = 0; i < kRects; ++i) {
        cairo_rectangle(cr, (i % 20) * 40, (i / 20) * 60, 38, 58);
        cairo_set_source(cr, patterns[i % kColours]);
        cairo_fill(cr);
    }
}

// 4. One bitmap drawn 100 times, scaled from 64x64 to 80x80.
std::string Bitmaps(const std::string& path) {
    std::ostringstream e;
    e << "noOfExecutables 1\ndraw Procedure{ noOfCommands " << kBitmaps;
    for (int i = 0; i < kBitmaps; ++i) {
        e << " DrawImage{ source pic destRect Rect{ " << (i % 10) * 80 << ' ' << (i / 10) * 60
          << ' ' << (i % 10) * 80 + 80 << ' ' << (i / 10) * 60 + 80
          << " } opacity 1 srcRect Rect{ 0 0 64 64 } }";
    }
    e << " }\n";
    return Frame("noOfGeometries 0\n", "noOfBrushes 0\n",
                 "noOfImages 1\npic BitmapFromFile{ " + path + " }\n", "noOfTransforms 0\n",
                 e.str(), "noOfControllers 0\n", "null");
}
void BitmapsByHand(cairo_t* cr, uint32_t, cairo_surface_t* image) {
    for (int i = 0; i < kBitmaps; ++i) {
        cairo_save(cr);
        cairo_translate(cr, (i % 10) * 80, (i / 10) * 60);
        cairo_scale(cr, 80.0 / 64, 80.0 / 64);
        cairo_set_source_surface(cr, image, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
        cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
        cairo_rectangle(cr, 0, 0, 64, 64);
        cairo_fill(cr);
        cairo_restore(cr);
    }
}

// 5. Nested transforms: groups turning about their own centre, each with five squares
// placed by a second translation inside.
constexpr int kTurnPeriod = 6000;  // ms for a full turn
std::string NestedTransforms() {
    std::ostringstream t, e;
    t << "noOfTransforms " << kGroups + 6 << "\nspin Rotation{ t $angle }\n";
    for (int i = 0; i < kGroups; ++i) {
        t << "g" << i << " Translation{ x " << 50 + (i % 8) * 100 << " y " << 60 + (i / 8) * 120
          << " }\n";
    }
    for (int k = 0; k < 5; ++k) {
        t << "s" << k << " Translation{ x " << k * 8 - 20 << " y " << k * 6 - 15 << " }\n";
    }
    e << "noOfExecutables 2\nsquares Procedure{ noOfCommands 15";
    for (int k = 0; k < 5; ++k) {
        e << " PushTransform{ s" << k << " } Fill{ sq b" << k << " } PopTransform{ }";
    }
    e << " }\ndraw Procedure{ noOfCommands " << kGroups * 5;
    for (int i = 0; i < kGroups; ++i) {
        e << " PushTransform{ g" << i
          << " } PushTransform{ spin } Call{ squares } PopTransform{ } PopTransform{ }";
    }
    e << " }\n";
    const std::string c = "noOfControllers 1\nturn Linear{ target $angle begin 0 end " +
                          std::to_string(kTurnPeriod) +
                          " loops 1 beginValue 0 endValue 360 noOfChildren 0 }\n";
    return Frame("noOfGeometries 1\nsq Rectangle{ x 0 y 0 w 30 h 30 hitTest 0 }\n", SolidBrushes(),
                 "noOfImages 0\n", t.str(), e.str(), c, "turn");
}
void NestedTransformsByHand(cairo_t* cr, uint32_t time, cairo_surface_t*) {
    const double angle = 2 * M_PI * static_cast<double>(time % kTurnPeriod) / kTurnPeriod;
    for (int i = 0; i < kGroups; ++i) {
        cairo_save(cr);
        cairo_translate(cr, 50 + (i % 8) * 100, 60 + (i / 8) * 120);
        cairo_rotate(cr, angle);
        for (int k = 0; k < 5; ++k) {
            cairo_save(cr);
            cairo_translate(cr, k * 8 - 20, k * 6 - 15);
            cairo_rectangle(cr, 0, 0, 30, 30);
            SetPalette(cr, k);
            cairo_fill(cr);
            cairo_restore(cr);
        }
        cairo_restore(cr);
    }
}

}  // namespace

std::vector<BenchScene> MakeBenchScenes(const std::string& bitmapPath) {
    return {
        {"static_ellipses", StaticEllipses(), StaticEllipsesByHand},
        {"moving_ellipses", MovingEllipses(), MovingEllipsesByHand},
        {"gradient_rects", GradientRects(), GradientRectsByHand},
        {"scaled_bitmaps", Bitmaps(bitmapPath), BitmapsByHand},
        {"nested_transforms", NestedTransforms(), NestedTransformsByHand},
    };
}
