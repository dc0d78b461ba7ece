#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "Core/IFactory.h"
#include "Core/IScenimator.h"

namespace ZEL {

// One loaded document and how far its timeline has run. The timeline only runs forward, and
// it runs on the 60 fps grid: an advance updates at every frame time (load time + k*1000/60
// ms) it passes, then at the time asked for. So wherever the document is sent - by a seek,
// a reload or a slow frame - controllers, triggers and hand-overs are where a 60 fps run
// would have them.
class DocumentRun {
  public:
    // The document, or null with the factory's error text in *error.
    static std::unique_ptr<DocumentRun> Load(IFactory& factory, const std::string& path,
                                             uint32_t loadTime, Gfx::RenderTarget* target,
                                             std::string* error);
    DocumentRun(std::unique_ptr<IScenimator> document, uint32_t loadTime);

    // Milliseconds after the load time of the k-th frame of the grid.
    static uint64_t FrameMs(uint64_t k) { return k * 1000 / 60; }

    // To elapsedMs after the load time, never back. False when an update failed: the
    // document's error text is in *error and the run stays where that update left it.
    bool AdvanceTo(uint64_t elapsedMs, std::string* error);
    bool Started() const { return m_Started; }
    uint64_t ElapsedMs() const { return m_ElapsedMs; }
    uint64_t Updates() const { return m_Updates; }
    uint32_t LoadTime() const { return m_LoadTime; }
    IScenimator& Document() { return *m_Document; }

  private:
    bool UpdateAt(uint64_t elapsedMs, std::string* error);

    std::unique_ptr<IScenimator> m_Document;
    uint32_t m_LoadTime;
    bool m_Started = false;
    uint64_t m_ElapsedMs = 0;
    uint64_t m_NextFrame = 0;  // first grid frame not yet passed
    uint64_t m_Updates = 0;
};

}  // namespace ZEL
