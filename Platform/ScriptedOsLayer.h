#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "Platform/IOsLayer.h"
#include "Platform/ScriptedSurface.h"

namespace ZEL {

// An OS layer that plays a script instead of a window system, for running the host in
// tests. Every call is logged in order. The clock moves only when told to: by Advance, or
// by the frame durations, one consumed per presented frame. Messages are posted for a
// given pass of the frame loop (a pass is counted at each PeekMessage). ExitProcess
// records the code and unwinds to RunToExit; nothing is logged after it.
class ScriptedOsLayer : public IOsLayer {
  public:
    // Start-up results.
    void SetDesktopDpi(float dpiX, float dpiY);
    void SetWindowCreated(bool created) { m_WindowCreated = created; }
    void SetSurfaceCreated(bool created) { m_SurfaceCreated = created; }
    ScriptedSurface::Config& SurfaceConfig() { return m_SurfaceConfig; }
    void SetMusicResults(bool init, bool load, bool play);

    // Messages sent synchronously by CreateMainWindow and ShowMainWindow.
    void SendOnCreate(const Message& message) { m_SentOnCreate.push_back(message); }
    void SendOnShow(const Message& message) { m_SentOnShow.push_back(message); }
    // Pending from the given pass on (1 = the first pass); queued in posting order.
    void Post(const Message& message, int fromPass = 1);

    void SetTick(uint32_t tick) { m_Tick = tick; }
    void Advance(uint32_t ms) { m_Tick += ms; }
    // Durations of the next presented frames; afterwards each frame takes thereafterMs.
    void SetFrameDurations(const std::vector<uint32_t>& ms, uint32_t thereafterMs);
    // Called with each log entry as it is recorded (for moving the clock at a call).
    void SetCallHook(std::function<void(const std::string&)> hook) { m_Hook = std::move(hook); }

    // Runs the host; returns its result or the code given to ExitProcess.
    int RunToExit(const std::function<int()>& host);

    void Record(const std::string& entry);
    void EndFrame();
    const std::vector<std::string>& Log() const { return m_Log; }
    int Count(const std::string& entry) const;
    int Passes() const { return m_Passes; }
    uint32_t Tick() const { return m_Tick; }

    // IOsLayer
    void RegisterWindowClass(const std::string& className, WindowProc proc) override;
    void GetDesktopDpi(float* dpiX, float* dpiY) override;
    bool CreateMainWindow(const std::string& className, const std::string& title, uint32_t width,
                          uint32_t height) override;
    std::unique_ptr<IDrawingSurface> CreateSurface(float dpiX, float dpiY) override;
    void ShowMainWindow() override;
    void SetWindowTitle(const std::string& text) override;
    bool PeekMessage(Message* message) override;
    void DispatchMessage(const Message& message) override;
    void DefWindowProc(const Message& message) override;
    uint32_t GetTickCount() override;
    void ShowMessageBox(const std::string& caption, const std::string& text) override;
    [[noreturn]] void ExitProcess(int code) override;
    bool MusicInit(uint32_t rateHz) override;
    bool MusicLoad(const std::string& path) override;
    bool MusicPlay() override;
    void MusicStop() override;
    void MusicFree() override;

  private:
    struct Exit {
        int code;
    };
    struct Posted {
        Message message;
        int fromPass;
    };

    void Send(const std::vector<Message>& messages);

    std::vector<std::string> m_Log;
    std::function<void(const std::string&)> m_Hook;
    bool m_Exited = false;
    WindowProc m_Proc;
    float m_DpiX = 96, m_DpiY = 96;
    bool m_WindowCreated = true;
    bool m_SurfaceCreated = true;
    ScriptedSurface::Config m_SurfaceConfig;
    bool m_MusicInit = true, m_MusicLoad = true, m_MusicPlay = true;
    std::vector<Message> m_SentOnCreate, m_SentOnShow;
    std::deque<Posted> m_Posted;
    int m_Passes = 0;
    uint32_t m_Tick = 0;
    std::deque<uint32_t> m_FrameDurations;
    uint32_t m_ThereafterMs = 16;
};

}  // namespace ZEL
