#pragma once
#include <cstdint>
#include <string>

namespace ZEL {

// Writes an opaque frame (premultiplied BGRA rows, alpha 255) as an 8-bit RGB PNG. zlib
// level 1 with the "sub" filter: measured fastest here, several times faster than the
// default level and only a little larger. False with the reason in *error.
bool WritePng(const std::string& path, const uint8_t* bgra, uint32_t width, uint32_t height,
              uint32_t stride, std::string* error);

}  // namespace ZEL
