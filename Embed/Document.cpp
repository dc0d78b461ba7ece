#include "Embed/Document.h"

#include <cstring>

#include "Embed/LastError.h"

int zel_document::Open(const std::string& path, uint32_t width, uint32_t height, float dpi,
                       uint32_t loadTime, std::unique_ptr<zel_document>* out) {
    std::unique_ptr<zel_document> doc(new zel_document());
    if (Gfx::RenderTarget::Create(width, height, dpi, &doc->m_Target) != Gfx::kOk) {
        ZEL::Embed::SetLastError("unable to create render target");
        return ZEL_OUT_OF_MEMORY;
    }
    // The players draw aliased; per-primitive smoothing stays the document's choice.
    doc->m_Target->SetAntialiasMode(Gfx::AntialiasMode::Aliased);
    ZEL::IScenimator* loaded = nullptr;
    const int code = doc->m_Factory.CreateScenimator(path, loadTime, doc->m_Target.get(), &loaded);
    if (code != ZEL::kSuccess) {
        ZEL::Embed::SetLastError(doc->m_Factory.GetErrorText());
        return code;
    }
    doc->m_Scene.reset(loaded);
    *out = std::move(doc);
    return ZEL_OK;
}

int zel_document::Checked(int code) {
    if (code != ZEL::kSuccess) {
        ZEL::Embed::SetLastError(m_Scene->GetErrorText());
    }
    return code;
}

int zel_document::Update(uint32_t time) {
    return Checked(m_Scene->Update(time));
}

int zel_document::Render(uint8_t* bgra, uint32_t stride) {
    m_Target->BeginDraw();
    m_Target->Clear(Gfx::ColorF{1, 1, 1, 1});
    const int code = m_Scene->Render(Gfx::Matrix3x2::Identity(), nullptr);
    // Ended whatever happened, so that the target takes the next frame.
    const Gfx::Result drawn = m_Target->EndDraw();
    if (code != ZEL::kSuccess) {
        return Checked(code);
    }
    if (drawn != Gfx::kOk) {
        ZEL::Embed::SetLastError("Rendering Error");
        return ZEL_RUNTIME_ERROR;
    }
    if (!CopyFrame(bgra, stride)) {
        ZEL::Embed::SetLastError("Rendering Error");
        return ZEL_RUNTIME_ERROR;
    }
    return ZEL_OK;
}

bool zel_document::CopyFrame(uint8_t* bgra, uint32_t stride) {
    const uint8_t* pixels = m_Target->GetPixels();
    if (!pixels) {
        return false;
    }
    const size_t sourceStride = m_Target->GetStride();
    const size_t rowBytes = static_cast<size_t>(Width()) * 4;
    for (uint32_t y = 0; y < Height(); ++y) {
        std::memcpy(bgra + y * static_cast<size_t>(stride), pixels + y * sourceStride, rowBytes);
    }
    return true;
}

int zel_document::HitTest(int32_t x, int32_t y, bool* hit) {
    return Checked(m_Scene->HitTest(x, y, hit));
}

int zel_document::ReadVariable(const std::string& name, float* value) {
    return Checked(m_Scene->ReadVariable(name, value));
}

int zel_document::WriteVariable(const std::string& name, float value) {
    return Checked(m_Scene->WriteVariable(name, value));
}

int zel_document::Play(const std::string& animation, uint32_t time) {
    return Checked(m_Scene->PlayAnimation(animation, time));
}
