#pragma once
#include <SDL.h>

#include "Platform/IOsLayer.h"
#include "Platform/PlayerKind.h"
#include "Platform/SdlMusic.h"

namespace ZEL {

// The OS layer on SDL2 and SDL2_mixer. The window stays until the layer goes: closing it
// only hides it, so the last pass after the close still has somewhere to draw.
class SdlOsLayer : public IOsLayer {
  public:
    explicit SdlOsLayer(PlayerKind kind);
    ~SdlOsLayer() override;
    SdlOsLayer(const SdlOsLayer&) = delete;
    SdlOsLayer& operator=(const SdlOsLayer&) = delete;

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
    bool MusicInit(uint32_t rateHz) override { return m_Music.Open(rateHz); }
    bool MusicLoad(const std::string& path) override { return m_Music.Load(path); }
    bool MusicPlay() override { return m_Music.Play(); }
    void MusicStop() override { m_Music.Stop(); }
    void MusicFree() override { m_Music.Free(); }

  private:
    PlayerKind m_Kind;
    bool m_VideoReady = false;
    bool m_NoDisplay = false;  // no driver that shows a window
    WindowProc m_Proc;
    SDL_Window* m_Window = nullptr;
    bool m_Destroyed = false;
    SdlMusic m_Music;
};

}  // namespace ZEL
