#include "Export/DocumentRenderer.h"

namespace ZEL {

bool DocumentRenderer::Open(const Settings& s, std::string* error) {
    if (Gfx::RenderTarget::Create(s.width, s.height, s.dpi, &m_Target) != Gfx::kOk) {
        *error = "unable to create render target";
        return false;
    }
    m_Target->SetAntialiasMode(Gfx::AntialiasMode::Aliased);
    m_Target->SetRasterOptions(s.raster);
    IScenimator* loaded = nullptr;
    if (m_Factory.CreateScenimator(s.document, s.start, m_Target.get(), &loaded) != kSuccess) {
        *error = m_Factory.GetErrorText();
        return false;
    }
    m_Document.reset(loaded);
    return true;
}

bool DocumentRenderer::Update(uint32_t time, std::string* error) {
    if (m_Document->Update(time) != kSuccess) {
        *error = m_Document->GetErrorText();
        return false;
    }
    return true;
}

bool DocumentRenderer::Render(std::string* error) {
    m_Target->BeginDraw();
    m_Target->Clear(Gfx::ColorF{1, 1, 1, 1});
    if (m_Document->Render(Gfx::Matrix3x2::Identity(), nullptr) != kSuccess) {
        *error = m_Document->GetErrorText();
        m_Target->EndDraw();
        return false;
    }
    if (m_Target->EndDraw() != Gfx::kOk) {
        *error = "Rendering Error";
        return false;
    }
    return true;
}

}  // namespace ZEL
