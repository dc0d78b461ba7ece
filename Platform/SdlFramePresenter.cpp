#include "Platform/SdlFramePresenter.h"

namespace ZEL {

std::unique_ptr<SdlFramePresenter> SdlFramePresenter::Create(SDL_Window* window) {
    SDL_Renderer* renderer =
        SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    // The dummy video driver has no accelerated renderer.
    if (!renderer) {
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (!renderer) {
        return nullptr;
    }
    return std::make_unique<SdlFramePresenter>(renderer);
}

SdlFramePresenter::~SdlFramePresenter() {
    if (m_Texture) {
        SDL_DestroyTexture(m_Texture);
    }
    SDL_DestroyRenderer(m_Renderer);
}

bool SdlFramePresenter::SetLogicalSize(uint32_t width, uint32_t height) {
    return SDL_RenderSetLogicalSize(m_Renderer, static_cast<int>(width),
                                    static_cast<int>(height)) == 0;
}

bool SdlFramePresenter::GetOutputSize(uint32_t* width, uint32_t* height) const {
    int w = 0, h = 0;
    if (SDL_GetRendererOutputSize(m_Renderer, &w, &h) != 0 || w <= 0 || h <= 0) {
        return false;
    }
    *width = static_cast<uint32_t>(w);
    *height = static_cast<uint32_t>(h);
    return true;
}

bool SdlFramePresenter::SetFrameSize(uint32_t width, uint32_t height) {
    if (m_Texture) {
        SDL_DestroyTexture(m_Texture);
    }
    m_Texture = SDL_CreateTexture(m_Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                  static_cast<int>(width), static_cast<int>(height));
    if (!m_Texture) {
        return false;
    }
    // The frame is opaque (cleared to white); blending would only cost time.
    SDL_SetTextureBlendMode(m_Texture, SDL_BLENDMODE_NONE);
    return true;
}

void SdlFramePresenter::Show(const uint8_t* pixels, uint32_t stride) {
    Draw(pixels, stride);
    Present();
}

void SdlFramePresenter::Draw(const uint8_t* pixels, uint32_t stride) {
    if (m_Texture && pixels) {
        SDL_UpdateTexture(m_Texture, nullptr, pixels, static_cast<int>(stride));
        SDL_RenderCopy(m_Renderer, m_Texture, nullptr, nullptr);
    }
}

void SdlFramePresenter::Present() {
    SDL_RenderPresent(m_Renderer);
}

}  // namespace ZEL
