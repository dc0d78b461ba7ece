#pragma once
#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

// One benchmark scene: a document for the engine and the same drawing written by hand
// against Cairo. Both draw the frame at `time` ms after the start.
struct BenchScene {
    std::string name;
    std::string document;  // document text
    void (*drawByHand)(cairo_t* cr, uint32_t time, cairo_surface_t* image);
};

// bitmapPath: a PNG the bitmap scene reads (written by the driver).
std::vector<BenchScene> MakeBenchScenes(const std::string& bitmapPath);
