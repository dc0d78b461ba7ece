#pragma once
#include <string>

namespace ZEL {

class Bitmap;

// Why the image file of bitmap cannot be drawn ("is not a PNG or JPEG file (it is an SVG
// image)"), or "" when it decodes.
std::string ImageProblem(const Bitmap& bitmap);

}  // namespace ZEL
