#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Core/IFactory.h"
#include "Platform/AppContext.h"
#include "Platform/IOsLayer.h"

namespace ZEL {

// Hands out the engine factory; the host owns and deletes what it returns.
using FactoryGetter = std::function<IFactory*()>;

// Runs the player from start-up to shutdown and returns the entry point's exit code.
// Fatal errors and the left button end the process through IOsLayer::ExitProcess.
int RunHost(IOsLayer& os, const FactoryGetter& getFactory);

// The player's single thread of control: start-up, frame loop, window procedure, shutdown.
class Host {
  public:
    Host(IOsLayer& os, FactoryGetter getFactory);
    int Run();

  private:
    bool InitInstance();
    void CreateRenderTarget(AppContext& context, float dpiX, float dpiY, uint32_t startTime);
    void StartMusic();
    void RunPass();
    void RenderFrame();
    void ShowFrameRate(int32_t frameMs);
    void Shutdown();
    void WindowProc(const Message& message);
    void OnSize(const Message& message);
    [[noreturn]] void FatalError(const std::string& text);
    [[noreturn]] void ExitProcess(int code);

    IOsLayer& m_Os;
    FactoryGetter m_GetFactory;
    std::string m_DocumentPath;
    bool m_Running = true;
    uint32_t m_StartTick = 0;
    std::unique_ptr<AppContext> m_Context;
};

}  // namespace ZEL
