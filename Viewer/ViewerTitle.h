#pragma once
#include <string>

namespace ZEL {

// "show.scn - 12.3 s - 60 fps", with " - paused" while paused: the document's file name,
// its document time in seconds and the rate frames reach the screen.
std::string ViewerTitle(const std::string& documentPath, double documentSeconds,
                        double framesPerSecond, bool paused);

}  // namespace ZEL
