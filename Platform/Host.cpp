#include "Platform/Host.h"

#include <cstdlib>
#include <utility>

#include "Platform/FrameRateTitle.h"

namespace ZEL {

namespace {

const char* const kDocumentPath = "data\\vortel\\postprocess.scn";
const char* const kMusicPath = "data\\music\\duskwave.mp3";
const char* const kWindowClass = "ZelWindow";
const char* const kInitialTitle = "Zel";
const char* const kErrorCaption = "Error";
constexpr double kWindowWidthDips = 800;
constexpr double kWindowHeightDips = 600;
constexpr double kDipsPerInch = 96;
constexpr uint32_t kAudioRateHz = 44100;
// 2 min 34 s of music, counted from the moment it started.
constexpr uint32_t kTimeLimitMs = 154000;
constexpr Gfx::ColorF kOpaqueWhite{1, 1, 1, 1};

uint32_t ScaleDips(double dips, float dpi) {
    return static_cast<uint32_t>(static_cast<double>(dpi) * dips / kDipsPerInch);
}

}  // namespace

int RunHost(IOsLayer& os, const FactoryGetter& getFactory) {
    Host host(os, getFactory);
    return host.Run();
}

Host::Host(IOsLayer& os, FactoryGetter getFactory)
    : m_Os(os), m_GetFactory(std::move(getFactory)) {}

int Host::Run() {
    m_DocumentPath = kDocumentPath;
    m_Os.RegisterWindowClass(kWindowClass, [this](const Message& m) { WindowProc(m); });
    // No window means nothing was shown: a failure, not a normal end.
    if (!InitInstance()) {
        return 1;
    }
    StartMusic();
    m_StartTick = m_Os.GetTickCount();
    while (m_Running) {
        RunPass();
    }
    Shutdown();
    return 0;
}

bool Host::InitInstance() {
    float dpiX = 96, dpiY = 96;
    m_Os.GetDesktopDpi(&dpiX, &dpiY);
    uint32_t width = ScaleDips(kWindowWidthDips, dpiX);
    uint32_t height = ScaleDips(kWindowHeightDips, dpiY);
    if (!m_Os.CreateMainWindow(kWindowClass, kInitialTitle, width, height)) {
        return false;
    }
    auto context = std::make_unique<AppContext>();
    // The document's clock starts here, before loading and before the music.
    uint32_t startTime = m_Os.GetTickCount();
    CreateRenderTarget(*context, dpiX, dpiY, startTime);
    m_Context = std::move(context);
    m_Os.ShowMainWindow();
    return true;
}

void Host::CreateRenderTarget(AppContext& context, float dpiX, float dpiY, uint32_t startTime) {
    context.m_Surface = m_Os.CreateSurface(dpiX, dpiY);
    if (!context.m_Surface) {
        FatalError("unable to create render target");
    }
    context.m_Factory.reset(m_GetFactory());
    if (!context.m_Factory) {
        FatalError("Unable to create ZEL Factory");
    }
    IScenimator* document = nullptr;
    int result = context.m_Factory->CreateScenimator(
        m_DocumentPath, startTime, context.m_Surface->GetRenderTarget(), &document);
    context.m_Document.reset(document);
    if (result != kSuccess || !document) {
        FatalError(context.m_Factory->GetErrorText());
    }
}

void Host::StartMusic() {
    // Audio failures end the program silently.
    if (!m_Os.MusicInit(kAudioRateHz) || !m_Os.MusicLoad(kMusicPath) || !m_Os.MusicPlay()) {
        ExitProcess(1);
    }
}

void Host::RunPass() {
    Message message;
    if (m_Os.PeekMessage(&message)) {
        m_Os.DispatchMessage(message);
    }
    uint32_t t = m_Os.GetTickCount();
    IScenimator& document = *m_Context->m_Document;
    if (document.Update(t) != kSuccess) {
        FatalError(document.GetErrorText());
    }
    RenderFrame();
    // Covers update, drawing and presentation, not the message.
    ShowFrameRate(static_cast<int32_t>(m_Os.GetTickCount() - t));
    // Unsigned difference: correct across the counter's wrap.
    if (m_Os.GetTickCount() - m_StartTick > kTimeLimitMs) {
        m_Running = false;
    }
}

void Host::RenderFrame() {
    IDrawingSurface& surface = *m_Context->m_Surface;
    IScenimator& document = *m_Context->m_Document;
    surface.BeginDraw();
    surface.Clear(kOpaqueWhite);
    if (document.Render(Gfx::Matrix3x2::Identity(), nullptr) != kSuccess) {
        FatalError(document.GetErrorText());
    }
    if (surface.EndDraw() != Gfx::kOk) {
        FatalError("Rendering Error");
    }
    surface.Present();
}

void Host::ShowFrameRate(int32_t frameMs) {
    m_Os.SetWindowTitle(FrameRateTitle(frameMs));
}

void Host::Shutdown() {
    m_Os.MusicStop();
    m_Os.MusicFree();
    if (m_Context) {
        m_Context->m_Document.reset();
        m_Context->m_Factory.reset();
        m_Context->m_Surface.reset();
        m_Context.reset();
    }
}

void Host::WindowProc(const Message& message) {
    switch (message.kind) {
        case MessageKind::Paint:
            // Also sent while the window is made, before there is anything to draw.
            if (m_Context) {
                RenderFrame();
            }
            break;
        case MessageKind::Size:
            OnSize(message);
            break;
        case MessageKind::KeyDown:
            // Other keys do nothing, and no key goes to default processing.
            if (message.key == kKeyEscape) {
                m_Running = false;
            }
            break;
        case MessageKind::Destroy:
            m_Running = false;
            break;
        case MessageKind::LeftButtonUp:
            ExitProcess(0);
        default:
            m_Os.DefWindowProc(message);
            break;
    }
}

void Host::OnSize(const Message& message) {
    if (!m_Context) {
        return;
    }
    IDrawingSurface& surface = *m_Context->m_Surface;
    if (surface.FollowsWindowSize() && surface.Resize(message.width, message.height) != Gfx::kOk) {
        FatalError("Resize Error");
    }
    if (message.sizeKind == SizeKind::Restored) {
        RenderFrame();
    }
}

void Host::FatalError(const std::string& text) {
    m_Os.ShowMessageBox(kErrorCaption, text);
    ExitProcess(1);
}

void Host::ExitProcess(int code) {
    m_Os.ExitProcess(code);
    // Overriders are bound to not return, but the compiler cannot see through the call.
    std::abort();
}

}  // namespace ZEL
