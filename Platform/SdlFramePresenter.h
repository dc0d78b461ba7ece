#pragma once
#include <SDL.h>

#include <cstdint>
#include <memory>

namespace ZEL {

// Puts finished frames on the window: a renderer and a streaming texture that each frame's
// pixels (premultiplied BGRA, i.e. ARGB8888 in memory order) are copied into.
class SdlFramePresenter {
  public:
    // Null when the window gets no renderer, accelerated or software.
    static std::unique_ptr<SdlFramePresenter> Create(SDL_Window* window);
    explicit SdlFramePresenter(SDL_Renderer* renderer) : m_Renderer(renderer) {}
    ~SdlFramePresenter();
    SdlFramePresenter(const SdlFramePresenter&) = delete;
    SdlFramePresenter& operator=(const SdlFramePresenter&) = delete;

    // Scales a fixed frame onto the whole output, keeping its aspect.
    bool SetLogicalSize(uint32_t width, uint32_t height);
    bool GetOutputSize(uint32_t* width, uint32_t* height) const;
    // (Re)makes the texture for frames of this size.
    bool SetFrameSize(uint32_t width, uint32_t height);
    // Draw, then Present.
    void Show(const uint8_t* pixels, uint32_t stride);
    // Copies a frame onto the output; more can be drawn over it before Present.
    void Draw(const uint8_t* pixels, uint32_t stride);
    void Present();
    SDL_Renderer* Renderer() const { return m_Renderer; }

  private:
    SDL_Renderer* m_Renderer;
    SDL_Texture* m_Texture = nullptr;
};

}  // namespace ZEL
