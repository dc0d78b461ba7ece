/* Plays an animation document in an SDL2 window through libzel's C interface.
 *
 *   cc -o sdl_embed sdl_embed.c $(pkg-config --cflags --libs zel sdl2)
 *   ./sdl_embed DOCUMENT [SECONDS]
 *
 * Escape or closing the window quits; so does the end of SECONDS when given. */
#include <SDL.h>
#include <stdio.h>
#include <stdlib.h>
#include <zel/zel.h>

enum { kWidth = 800, kHeight = 600 };

/* An accelerated renderer with vsync, else whatever SDL can give. */
static SDL_Renderer* CreateRenderer(SDL_Window* window) {
    SDL_Renderer* renderer =
        SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    return renderer ? renderer : SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

/* True while neither Escape nor a close request has come. */
static int KeepGoing(void) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT ||
            (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE)) {
            return 0;
        }
    }
    return 1;
}

/* zel_render writes premultiplied BGRA, which is SDL's ARGB8888 on little-endian machines;
   the frame is opaque, so the texture is copied without blending. */
static int DrawFrame(zel_document* doc, SDL_Renderer* renderer, SDL_Texture* texture) {
    void* pixels = NULL;
    int pitch = 0;
    if (zel_update(doc, SDL_GetTicks()) != ZEL_OK ||
        SDL_LockTexture(texture, NULL, &pixels, &pitch) != 0) {
        return 0;
    }
    const int drawn = zel_render(doc, (uint8_t*)pixels, (uint32_t)pitch) == ZEL_OK;
    SDL_UnlockTexture(texture);
    SDL_RenderCopy(renderer, texture, NULL, NULL);
    SDL_RenderPresent(renderer);
    return drawn;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s DOCUMENT [SECONDS]\n", argv[0]);
        return 2;
    }
    const Uint32 limitMs = argc > 2 ? (Uint32)(atof(argv[2]) * 1000) : 0;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window =
        SDL_CreateWindow("zel", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth, kHeight, 0);
    SDL_Renderer* renderer = window ? CreateRenderer(window) : NULL;
    SDL_Texture* texture = renderer
                               ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                                   SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight)
                               : NULL;
    if (!texture) {
        fprintf(stderr, "SDL: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);

    /* The document's clock starts now, as the tick counter reads. */
    const Uint32 start = SDL_GetTicks();
    zel_document* doc = NULL;
    int status = 0;
    if (zel_open(argv[1], kWidth, kHeight, 96.0f, start, &doc) != ZEL_OK) {
        fprintf(stderr, "%s\n", zel_last_error());
        status = 1;
    }
    while (doc && KeepGoing() && (!limitMs || SDL_GetTicks() - start < limitMs)) {
        if (!DrawFrame(doc, renderer, texture)) {
            fprintf(stderr, "%s\n", zel_last_error());
            status = 1;
            break;
        }
    }
    zel_close(doc);
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return status;
}
