#pragma once
#include <cstdint>
#include <string>

#include "Core/IScenimator.h"

namespace Gfx {
class RenderTarget;
}

namespace ZEL {

class IFactory {
  public:
    virtual ~IFactory() = default;
    // Loads the document at path for the borrowed render target. On 0, *document holds a new
    // document owned by the caller; otherwise it is null and GetErrorText says why.
    virtual int CreateScenimator(const std::string& path, uint32_t startTime,
                                 Gfx::RenderTarget* renderTarget, IScenimator** document) = 0;
    virtual const std::string& GetErrorText() const = 0;
};

// The one factory of the process, made at the first call; null if it cannot be made.
IFactory* GetFactory();

}  // namespace ZEL
