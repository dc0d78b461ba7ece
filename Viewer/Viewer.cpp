#include "Viewer/Viewer.h"

#include <algorithm>
#include <ostream>
#include <utility>

#include "Core/Factory.h"
#include "Gfx/RenderTarget.h"
#include "Viewer/Inspection.h"
#include "Viewer/ViewerTitle.h"

namespace ZEL {

namespace {
constexpr Gfx::ColorF kOpaqueWhite{1, 1, 1, 1};
constexpr float kDipsPerInch = 96;

float MsBetween(uint64_t fromUs, uint64_t toUs) {
    return static_cast<float>(toUs - fromUs) / 1000.0f;
}
}  // namespace

Viewer::Viewer(ViewerConfig config, IFactory& factory, IClock& clock, IFileWatcher& watcher,
               IMusic& music, IViewerWindow& window)
    : m_Config(std::move(config)),
      m_Factory(factory),
      m_Clock(clock),
      m_Watcher(watcher),
      m_Window(window),
      m_Transport(clock, music) {}

// The document goes before the target it draws on, which the window owns.
Viewer::~Viewer() = default;

void Viewer::Start() {
    Reload(0);
    m_Transport.Start();
}

int Viewer::Run() {
    Start();
    while (Frame()) {
    }
    return 0;
}

bool Viewer::Frame() {
    if (!HandleEvents()) {
        return false;
    }
    CheckFiles();
    Advance();
    Draw();
    Present();
    return true;
}

bool Viewer::HandleEvents() {
    ViewerEvent event;
    while (m_Window.PollEvent(&event)) {
        if (!HandleEvent(event)) {
            return false;
        }
    }
    return true;
}

bool Viewer::HandleEvent(const ViewerEvent& event) {
    switch (event.kind) {
        case ViewerEvent::Kind::Quit:
            return false;
        case ViewerEvent::Kind::Key:
            if (event.key == ViewerKey::Escape) {
                return false;
            }
            HandleKey(event.key, event.shift);
            break;
        case ViewerEvent::Kind::Click:
            Click(event.x, event.y);
            break;
        case ViewerEvent::Kind::Pointer:
            m_PointerX = event.x;
            m_PointerY = event.y;
            break;
        case ViewerEvent::Kind::Resized:
            m_Redraw = true;
            break;
    }
    return true;
}

void Viewer::HandleKey(ViewerKey key, bool shift) {
    switch (key) {
        case ViewerKey::Space:
            m_Transport.TogglePause();
            break;
        case ViewerKey::Right:
            SeekBy(static_cast<int64_t>(shift ? kShortSeekMs : kSeekMs));
            break;
        case ViewerKey::Left:
            SeekBy(-static_cast<int64_t>(shift ? kShortSeekMs : kSeekMs));
            break;
        case ViewerKey::Period:
        case ViewerKey::Comma:
            // Frame steps only make sense on a still picture.
            if (m_Transport.Paused()) {
                SeekTo(m_Transport.NeighbourFrameUs(key == ViewerKey::Period ? 1 : -1));
            }
            break;
        case ViewerKey::Home:
            SeekTo(0);
            break;
        case ViewerKey::F1:
            m_Inspector = !m_Inspector;
            break;
        case ViewerKey::F2:
            m_ShowShapes = !m_ShowShapes;
            break;
        default:
            break;
    }
}

void Viewer::SeekBy(int64_t deltaMs) {
    const auto now = static_cast<int64_t>(m_Transport.ElapsedUs());
    SeekTo(static_cast<uint64_t>(std::max<int64_t>(0, now + deltaMs * 1000)));
}

void Viewer::SeekTo(uint64_t elapsedUs) {
    // The timeline only runs forward: going back is a fresh load run up to the new time.
    // When that load fails, the document stays where it is, and so does the playhead.
    const uint64_t elapsedMs = elapsedUs / 1000;
    if (m_Run && m_Run->Started() && elapsedMs < m_Run->ElapsedMs() && !Reload(elapsedMs)) {
        return;
    }
    m_Transport.MoveToUs(elapsedUs);
}

void Viewer::Click(int32_t x, int32_t y) {
    IScenimator* document = Document();
    if (!document) {
        return;
    }
    std::vector<ShapeRow> rows;
    Inspection::Shapes(*document, PixelsPerDip(), x, y, &rows);
    m_Click = ClickReport{true, x, y, false, {}};
    for (const ShapeRow& row : rows) {
        if (row.underPointer) {
            m_Click.shapes.push_back(row.name);
        }
    }
    const int32_t dipX = Inspection::ToDips(x, PixelsPerDip());
    const int32_t dipY = Inspection::ToDips(y, PixelsPerDip());
    if (document->HitTest(dipX, dipY, &m_Click.hit) != kSuccess) {
        m_Click.hit = false;
    }
    if (m_Config.out) {
        *m_Config.out << m_Run->LoadTime() + static_cast<uint32_t>(m_Run->ElapsedMs()) << " hit "
                      << dipX << ' ' << dipY << ' ' << (m_Click.hit ? 1 : 0);
        for (const std::string& name : m_Click.shapes) {
            *m_Config.out << ' ' << name;
        }
        *m_Config.out << std::endl;
    }
}

void Viewer::CheckFiles() {
    const uint64_t now = NowMs();
    if (m_Watcher.TakeChanges() > 0) {
        m_ReloadTimer.NoteChange(now);
    }
    if (m_ReloadTimer.Due(now)) {
        Reload(m_Transport.ElapsedMs());
    }
}

bool Viewer::Reload(uint64_t elapsedMs) {
    ++m_Loads;
    const uint64_t startUs = m_Clock.NowUs();
    std::string error;
    auto run = DocumentRun::Load(m_Factory, m_Config.document, m_Config.loadTime,
                                 &m_Window.Target(), &error);
    WatchFilesOfLastLoad(run != nullptr);
    if (!run) {
        ShowError(error);
        return false;
    }
    const uint64_t loadedUs = m_Clock.NowUs();
    // The old document goes before the new one draws, so images decoded for it are not
    // shared with the new one and a changed image file is read again.
    m_Run = std::move(run);
    m_Halted = !m_Run->AdvanceTo(elapsedMs, &error);
    if (m_Halted) {
        ShowError(error);
    } else {
        ClearError();
    }
    m_Redraw = true;
    const uint64_t updates = m_Run->Updates();
    const uint32_t reached = m_Config.loadTime + static_cast<uint32_t>(elapsedMs);
    m_LastReload = "loaded in " + std::to_string((loadedUs - startUs) / 1000) + " ms, then " +
                   std::to_string(updates) + (updates == 1 ? " update" : " updates") + " in " +
                   std::to_string((m_Clock.NowUs() - loadedUs) / 1000) + " ms to reach " +
                   std::to_string(reached / 1000) + "." + std::to_string(reached % 1000 / 100) +
                   " s";
    return true;
}

void Viewer::WatchFilesOfLastLoad(bool succeeded) {
    std::vector<std::string> files{m_Config.document};
    if (auto* factory = dynamic_cast<Factory*>(&m_Factory)) {
        files.insert(files.end(), factory->LastLoadFiles().begin(), factory->LastLoadFiles().end());
    }
    if (succeeded) {
        m_GoodFiles = files;
    } else {
        // A failed load stops at its error: what the good one read after it still counts.
        files.insert(files.end(), m_GoodFiles.begin(), m_GoodFiles.end());
    }
    m_Watcher.Watch(files);
}

void Viewer::Advance() {
    m_UpdateMs = 0;
    if (!m_Run || m_Halted) {
        return;
    }
    const uint64_t startUs = m_Clock.NowUs();
    std::string error;
    if (!m_Run->AdvanceTo(m_Transport.ElapsedMs(), &error)) {
        m_Halted = true;
        ShowError(error);
    }
    m_UpdateMs = MsBetween(startUs, m_Clock.NowUs());
}

void Viewer::Draw() {
    const bool playing = m_Run && !m_Halted;
    if (!m_Redraw && (!playing || (m_Drawn && m_Run->ElapsedMs() == m_DrawnMs))) {
        return;
    }
    const uint64_t startUs = m_Clock.NowUs();
    Gfx::RenderTarget& target = m_Window.Target();
    target.BeginDraw();
    target.Clear(kOpaqueWhite);
    if (playing && m_Run->Document().Render(Gfx::Matrix3x2::Identity(), nullptr) != kSuccess) {
        m_Halted = true;
        ShowError(m_Run->Document().GetErrorText());
    }
    if (target.EndDraw() != Gfx::kOk) {
        m_Halted = true;
        ShowError("Rendering Error");
    }
    m_Redraw = false;
    if (playing) {
        m_Drawn = true;
        m_DrawnMs = m_Run->ElapsedMs();
        m_Stats.AddDrawn(startUs, m_UpdateMs, MsBetween(startUs, m_Clock.NowUs()));
    }
}

void Viewer::Present() {
    m_Window.Present(BuildOverlay());
    m_Stats.AddShown(m_Clock.NowUs());
    const std::string title = ViewerTitle(m_Config.document, DocumentSeconds(),
                                          m_Stats.FramesPerSecond(), m_Transport.Paused());
    if (title != m_Title) {
        m_Title = title;
        m_Window.SetTitle(title);
    }
}

void Viewer::ShowError(const std::string& text) {
    m_Error = text;
    if (m_Config.err && text != m_PrintedError) {
        *m_Config.err << text << std::endl;
    }
    m_PrintedError = text;
}

void Viewer::ClearError() {
    m_Error.clear();
    m_PrintedError.clear();
}

float Viewer::PixelsPerDip() {
    const float dpi = m_Window.Target().GetDpiX();
    return dpi > 0 ? dpi / kDipsPerInch : 1.0f;
}

double Viewer::DocumentSeconds() {
    const uint32_t time = m_Config.loadTime + static_cast<uint32_t>(m_Transport.ElapsedMs());
    return static_cast<double>(time) / 1000.0;
}

}  // namespace ZEL
