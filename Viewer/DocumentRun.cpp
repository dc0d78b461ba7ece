#include "Viewer/DocumentRun.h"

#include <utility>

namespace ZEL {

std::unique_ptr<DocumentRun> DocumentRun::Load(IFactory& factory, const std::string& path,
                                               uint32_t loadTime, Gfx::RenderTarget* target,
                                               std::string* error) {
    IScenimator* loaded = nullptr;
    const int result = factory.CreateScenimator(path, loadTime, target, &loaded);
    std::unique_ptr<IScenimator> document(loaded);
    if (result != kSuccess || !document) {
        *error = factory.GetErrorText();
        return nullptr;
    }
    return std::make_unique<DocumentRun>(std::move(document), loadTime);
}

DocumentRun::DocumentRun(std::unique_ptr<IScenimator> document, uint32_t loadTime)
    : m_Document(std::move(document)), m_LoadTime(loadTime) {}

bool DocumentRun::AdvanceTo(uint64_t elapsedMs, std::string* error) {
    if (m_Started && elapsedMs <= m_ElapsedMs) {
        return true;
    }
    for (; FrameMs(m_NextFrame) < elapsedMs; ++m_NextFrame) {
        if (!UpdateAt(FrameMs(m_NextFrame), error)) {
            return false;
        }
    }
    if (!UpdateAt(elapsedMs, error)) {
        return false;
    }
    while (FrameMs(m_NextFrame) <= elapsedMs) {
        ++m_NextFrame;
    }
    return true;
}

bool DocumentRun::UpdateAt(uint64_t elapsedMs, std::string* error) {
    // Document time is a raw 32-bit tick: it wraps like the players' clock.
    const uint32_t time = m_LoadTime + static_cast<uint32_t>(elapsedMs);
    ++m_Updates;
    if (m_Document->Update(time) != kSuccess) {
        *error = m_Document->GetErrorText();
        return false;
    }
    m_Started = true;
    m_ElapsedMs = elapsedMs;
    return true;
}

}  // namespace ZEL
