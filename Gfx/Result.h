#pragma once
#include <cstdint>

namespace Gfx {

// Signed 32-bit result codes with the conventional values, so an engine error text
// that prints the number stays meaningful.
using Result = int32_t;

constexpr Result kOk = 0;
constexpr Result kFail = static_cast<Result>(0x80004005);
constexpr Result kNotImplemented = static_cast<Result>(0x80004001);
constexpr Result kInvalidArg = static_cast<Result>(0x80070057);
constexpr Result kOutOfMemory = static_cast<Result>(0x8007000E);
constexpr Result kFileNotFound = static_cast<Result>(0x80070002);
constexpr Result kBadImageHeader = static_cast<Result>(0x88982F61);
constexpr Result kUnsupportedImage = static_cast<Result>(0x88982F50);
// A file beyond the size any real input reaches (ERROR_FILE_TOO_LARGE).
constexpr Result kFileTooLarge = static_cast<Result>(0x800700DF);
// A target or resource used in the wrong state (drawing outside BeginDraw/EndDraw).
constexpr Result kWrongState = static_cast<Result>(0x88990001);

inline bool Failed(Result r) {
    return r != kOk;
}

}  // namespace Gfx
