#include "Platform/ScriptedOsLayer.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace ZEL {

namespace {

// A loop that never ends is a failing test, not a hung one.
constexpr int kMaxPasses = 2000000;

std::string Describe(const Message& message) {
    switch (message.kind) {
        case MessageKind::Paint:
            return "paint";
        case MessageKind::Size: {
            const char* how = message.sizeKind == SizeKind::Minimized   ? "minimized"
                              : message.sizeKind == SizeKind::Maximized ? "maximized"
                                                                        : "restored";
            return "size " + std::to_string(message.width) + "x" + std::to_string(message.height) +
                   " " + how;
        }
        case MessageKind::KeyDown:
            return "key " + std::to_string(message.key);
        case MessageKind::LeftButtonUp:
            return "lbuttonup";
        case MessageKind::Close:
            return "close";
        case MessageKind::Destroy:
            return "destroy";
        default:
            return "other";
    }
}

}  // namespace

void ScriptedOsLayer::SetDesktopDpi(float dpiX, float dpiY) {
    m_DpiX = dpiX;
    m_DpiY = dpiY;
}

void ScriptedOsLayer::SetMusicResults(bool init, bool load, bool play) {
    m_MusicInit = init;
    m_MusicLoad = load;
    m_MusicPlay = play;
}

void ScriptedOsLayer::Post(const Message& message, int fromPass) {
    m_Posted.push_back({message, fromPass});
}

void ScriptedOsLayer::SetFrameDurations(const std::vector<uint32_t>& ms, uint32_t thereafterMs) {
    m_FrameDurations.assign(ms.begin(), ms.end());
    m_ThereafterMs = thereafterMs;
}

int ScriptedOsLayer::RunToExit(const std::function<int()>& host) {
    try {
        return host();
    } catch (const Exit& exit) {
        return exit.code;
    }
}

void ScriptedOsLayer::Record(const std::string& entry) {
    if (m_Exited) {
        return;
    }
    m_Log.push_back(entry);
    if (m_Hook) {
        m_Hook(entry);
    }
}

void ScriptedOsLayer::EndFrame() {
    uint32_t ms = m_ThereafterMs;
    if (!m_FrameDurations.empty()) {
        ms = m_FrameDurations.front();
        m_FrameDurations.pop_front();
    }
    m_Tick += ms;
}

int ScriptedOsLayer::Count(const std::string& entry) const {
    return static_cast<int>(std::count(m_Log.begin(), m_Log.end(), entry));
}

void ScriptedOsLayer::RegisterWindowClass(const std::string& className, WindowProc proc) {
    Record("RegisterWindowClass " + className);
    m_Proc = std::move(proc);
}

void ScriptedOsLayer::GetDesktopDpi(float* dpiX, float* dpiY) {
    Record("GetDesktopDpi");
    *dpiX = m_DpiX;
    *dpiY = m_DpiY;
}

bool ScriptedOsLayer::CreateMainWindow(const std::string& className, const std::string& title,
                                       uint32_t width, uint32_t height) {
    Record("CreateMainWindow " + className + " \"" + title + "\" " + std::to_string(width) + "x" +
           std::to_string(height));
    if (!m_WindowCreated) {
        return false;
    }
    Send(m_SentOnCreate);
    return true;
}

std::unique_ptr<IDrawingSurface> ScriptedOsLayer::CreateSurface(float dpiX, float dpiY) {
    std::ostringstream entry;
    entry << "CreateSurface " << dpiX << "x" << dpiY;
    Record(entry.str());
    if (!m_SurfaceCreated) {
        return nullptr;
    }
    return std::make_unique<ScriptedSurface>(*this, m_SurfaceConfig);
}

void ScriptedOsLayer::ShowMainWindow() {
    Record("ShowMainWindow");
    Send(m_SentOnShow);
}

void ScriptedOsLayer::SetWindowTitle(const std::string& text) {
    Record("SetWindowTitle " + text);
}

bool ScriptedOsLayer::PeekMessage(Message* message) {
    if (++m_Passes > kMaxPasses) {
        throw std::logic_error("the frame loop did not end");
    }
    Record("PeekMessage");
    auto due = std::find_if(m_Posted.begin(), m_Posted.end(),
                            [this](const Posted& p) { return p.fromPass <= m_Passes; });
    if (due == m_Posted.end()) {
        return false;
    }
    *message = due->message;
    m_Posted.erase(due);
    return true;
}

void ScriptedOsLayer::DispatchMessage(const Message& message) {
    Record("Dispatch " + Describe(message));
    m_Proc(message);
}

void ScriptedOsLayer::DefWindowProc(const Message& message) {
    Record("DefWindowProc " + Describe(message));
    if (message.kind == MessageKind::Close) {
        DispatchMessage(Message::Destroy());
    }
}

uint32_t ScriptedOsLayer::GetTickCount() {
    Record("GetTickCount");
    return m_Tick;
}

void ScriptedOsLayer::ShowMessageBox(const std::string& caption, const std::string& text) {
    Record("MessageBox " + caption + ": " + text);
}

void ScriptedOsLayer::ExitProcess(int code) {
    Record("ExitProcess " + std::to_string(code));
    m_Exited = true;
    throw Exit{code};
}

bool ScriptedOsLayer::MusicInit(uint32_t rateHz) {
    Record("MusicInit " + std::to_string(rateHz));
    return m_MusicInit;
}

bool ScriptedOsLayer::MusicLoad(const std::string& path) {
    Record("MusicLoad " + path);
    return m_MusicLoad;
}

bool ScriptedOsLayer::MusicPlay() {
    Record("MusicPlay");
    return m_MusicPlay;
}

void ScriptedOsLayer::MusicStop() {
    Record("MusicStop");
}

void ScriptedOsLayer::MusicFree() {
    Record("MusicFree");
}

void ScriptedOsLayer::Send(const std::vector<Message>& messages) {
    for (const Message& message : messages) {
        DispatchMessage(message);
    }
}

}  // namespace ZEL
