#pragma once
#include "Gfx/RenderTarget.h"

namespace ZEL {

// Smooth edges for one drawing call; the target goes back to aliased however the call ends.
class AntialiasGuard {
  public:
    explicit AntialiasGuard(Gfx::RenderTarget* rt) : m_RT(rt) {
        m_RT->SetAntialiasMode(Gfx::AntialiasMode::PerPrimitive);
    }
    ~AntialiasGuard() { m_RT->SetAntialiasMode(Gfx::AntialiasMode::Aliased); }
    AntialiasGuard(const AntialiasGuard&) = delete;
    AntialiasGuard& operator=(const AntialiasGuard&) = delete;

  private:
    Gfx::RenderTarget* m_RT;
};

}  // namespace ZEL
