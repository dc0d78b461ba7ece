#pragma once
#include <memory>

#include "Core/IFactory.h"
#include "Core/IScenimator.h"
#include "Platform/IDrawingSurface.h"

namespace ZEL {

// What the host owns once start-up succeeded. Torn down document first, surface last:
// the document draws on the surface's render target and was made by the factory.
struct AppContext {
    std::unique_ptr<IDrawingSurface> m_Surface;
    std::unique_ptr<IFactory> m_Factory;
    std::unique_ptr<IScenimator> m_Document;
};

}  // namespace ZEL
