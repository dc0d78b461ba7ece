#include "Platform/ScriptedSurface.h"

#include <sstream>

#include "Platform/ScriptedOsLayer.h"

namespace ZEL {

ScriptedSurface::ScriptedSurface(ScriptedOsLayer& os, const Config& config)
    : m_Os(os), m_Config(config) {}

ScriptedSurface::~ScriptedSurface() {
    m_Os.Record("delete surface");
}

void ScriptedSurface::BeginDraw() {
    m_Os.Record("BeginDraw");
}

void ScriptedSurface::Clear(const Gfx::ColorF& color) {
    std::ostringstream entry;
    entry << "Clear " << color.r << "," << color.g << "," << color.b << "," << color.a;
    m_Os.Record(entry.str());
}

Gfx::Result ScriptedSurface::EndDraw() {
    m_Os.Record("EndDraw");
    return m_Config.endDrawResult;
}

void ScriptedSurface::Present() {
    m_Os.Record("Present");
    m_Os.EndFrame();
}

Gfx::Result ScriptedSurface::Resize(uint32_t width, uint32_t height) {
    m_Os.Record("Resize " + std::to_string(width) + "x" + std::to_string(height));
    return m_Config.resizeResult;
}

}  // namespace ZEL
