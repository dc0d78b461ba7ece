#pragma once
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "Core/IFactory.h"
#include "Viewer/DocumentRun.h"
#include "Viewer/FrameStats.h"
#include "Viewer/IClock.h"
#include "Viewer/IFileWatcher.h"
#include "Viewer/IMusic.h"
#include "Viewer/IViewerWindow.h"
#include "Viewer/ReloadTimer.h"
#include "Viewer/Transport.h"

namespace ZEL {

struct ViewerConfig {
    std::string document;
    uint32_t loadTime = 0;
    std::ostream* out = nullptr;  // a line per click: "TIME hit X Y 0|1 NAMES..."
    std::ostream* err = nullptr;  // each new error text, once
};

// The viewer's logic: the document clock and its transport, the music kept in step with
// it, reloading when the files of the last load change, and what the window shows. Nothing
// here ends the viewer but the user: a document that fails to load, update or draw shows
// its error and the viewer waits for the next reload.
class Viewer {
  public:
    static constexpr uint64_t kSeekMs = 5000;
    static constexpr uint64_t kShortSeekMs = 1000;

    Viewer(ViewerConfig config, IFactory& factory, IClock& clock, IFileWatcher& watcher,
           IMusic& music, IViewerWindow& window);
    ~Viewer();
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    // Loads the document, then starts the clock and the music together.
    void Start();
    // Events, reload, update, draw, present. False once the user asked to end.
    bool Frame();
    // Start, then frames until the user ends it; the exit code.
    int Run();

    // The document playing; null while no load has succeeded.
    IScenimator* Document() { return m_Run ? &m_Run->Document() : nullptr; }
    const std::string& ErrorText() const { return m_Error; }
    uint64_t ElapsedMs() { return m_Transport.ElapsedMs(); }
    bool Paused() const { return m_Transport.Paused(); }
    // Load attempts so far, failed ones included.
    uint64_t Loads() const { return m_Loads; }

  private:
    bool HandleEvents();
    bool HandleEvent(const ViewerEvent& event);
    void HandleKey(ViewerKey key, bool shift);
    void SeekBy(int64_t deltaMs);
    void SeekTo(uint64_t elapsedUs);
    void Click(int32_t x, int32_t y);

    void CheckFiles();
    bool Reload(uint64_t elapsedMs);
    void WatchFilesOfLastLoad(bool succeeded);
    void Advance();
    void Draw();
    void Present();
    OverlayModel BuildOverlay();
    void AddInspector(OverlayModel* overlay);
    void AddShapes(OverlayModel* overlay);

    void ShowError(const std::string& text);
    void ClearError();
    float PixelsPerDip();
    uint64_t NowMs() { return m_Clock.NowUs() / 1000; }
    double DocumentSeconds();

    ViewerConfig m_Config;
    IFactory& m_Factory;
    IClock& m_Clock;
    IFileWatcher& m_Watcher;
    IViewerWindow& m_Window;

    Transport m_Transport;
    ReloadTimer m_ReloadTimer;
    FrameStats m_Stats;
    std::unique_ptr<DocumentRun> m_Run;
    bool m_Halted = false;  // the document failed to update or draw: it waits for a reload
    bool m_Redraw = true;   // the target must be drawn even if time stands still
    bool m_Drawn = false;
    uint64_t m_DrawnMs = 0;  // elapsed time of the last drawn frame
    float m_UpdateMs = 0;    // of this frame's advance
    std::string m_Error;
    std::string m_PrintedError;
    std::string m_Title;
    std::string m_LastReload;
    std::vector<std::string> m_GoodFiles;
    uint64_t m_Loads = 0;
    bool m_Inspector = false;
    bool m_ShowShapes = false;
    int32_t m_PointerX = -1, m_PointerY = -1;
    ClickReport m_Click;
};

}  // namespace ZEL
