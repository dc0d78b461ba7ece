#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Platform/IDrawingSurface.h"
#include "Platform/Message.h"

namespace ZEL {

using WindowProc = std::function<void(const Message&)>;

// The operations of the window system, clock, process and audio that the host uses. One
// main window per process. Messages reach the host's window procedure either from
// DispatchMessage or, like on a real window system, synchronously from window operations.
class IOsLayer {
  public:
    virtual ~IOsLayer() = default;

    virtual void RegisterWindowClass(const std::string& className, WindowProc proc) = 0;
    virtual void GetDesktopDpi(float* dpiX, float* dpiY) = 0;
    // Size in pixels; false when no window could be made.
    virtual bool CreateMainWindow(const std::string& className, const std::string& title,
                                  uint32_t width, uint32_t height) = 0;
    // The player's drawing surface on the main window; null when it cannot be made.
    virtual std::unique_ptr<IDrawingSurface> CreateSurface(float dpiX, float dpiY) = 0;
    virtual void ShowMainWindow() = 0;
    virtual void SetWindowTitle(const std::string& text) = 0;

    // Removes at most one pending message; never waits.
    virtual bool PeekMessage(Message* message) = 0;
    virtual void DispatchMessage(const Message& message) = 0;
    // What the window system does with a message the host leaves alone: Close destroys
    // the window, which sends Destroy.
    virtual void DefWindowProc(const Message& message) = 0;

    // Milliseconds, unsigned 32-bit, wrapping.
    virtual uint32_t GetTickCount() = 0;
    // Modal, owned by the main window when it exists.
    virtual void ShowMessageBox(const std::string& caption, const std::string& text) = 0;
    [[noreturn]] virtual void ExitProcess(int code) = 0;

    // Each returns false on failure.
    virtual bool MusicInit(uint32_t rateHz) = 0;
    virtual bool MusicLoad(const std::string& path) = 0;
    virtual bool MusicPlay() = 0;
    virtual void MusicStop() = 0;
    virtual void MusicFree() = 0;
};

}  // namespace ZEL
