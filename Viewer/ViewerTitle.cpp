#include "Viewer/ViewerTitle.h"

#include <cstdio>

namespace ZEL {

std::string ViewerTitle(const std::string& documentPath, double documentSeconds,
                        double framesPerSecond, bool paused) {
    const size_t slash = documentPath.find_last_of("/\\");
    const std::string name =
        slash == std::string::npos ? documentPath : documentPath.substr(slash + 1);
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, " - %.1f s - %.0f fps", documentSeconds,
                  framesPerSecond);
    return name + numbers + (paused ? " - paused" : "");
}

}  // namespace ZEL
