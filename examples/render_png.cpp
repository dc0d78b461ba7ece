// Renders one frame of an animation document to a PNG file through the engine's C++
// interface, the way the players draw: update, clear to opaque white, render.
//
//   c++ -std=c++17 -o render_png render_png.cpp $(pkg-config --cflags --libs zel)
//   ./render_png DOCUMENT OUT.png [TIME_MS [WIDTH HEIGHT]]
#include <zel/zel.hpp>

#include <cstdlib>
#include <iostream>
#include <memory>

namespace {

int Fail(const std::string& text) {
    std::cerr << text << '\n';
    return 1;
}

uint32_t Argument(int argc, char** argv, int index, uint32_t fallback) {
    return index < argc ? static_cast<uint32_t>(std::strtoul(argv[index], nullptr, 10)) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: render_png DOCUMENT OUT.png [TIME_MS [WIDTH HEIGHT]]\n";
        return 2;
    }
    const uint32_t time = Argument(argc, argv, 3, 0);
    const uint32_t width = Argument(argc, argv, 4, 800);
    const uint32_t height = Argument(argc, argv, 5, 600);

    std::shared_ptr<Gfx::RenderTarget> target;
    if (Gfx::RenderTarget::Create(width, height, 96.0f, &target) != Gfx::kOk) {
        return Fail("unable to create render target");
    }
    target->SetAntialiasMode(Gfx::AntialiasMode::Aliased);
    // The caller owns the factory; documents must go before it.
    std::unique_ptr<ZEL::IFactory> factory(ZEL::GetFactory());
    if (!factory) {
        return Fail("Unable to create ZEL Factory");
    }
    ZEL::IScenimator* loaded = nullptr;
    if (factory->CreateScenimator(argv[1], time, target.get(), &loaded) != ZEL::kSuccess) {
        return Fail(factory->GetErrorText());
    }
    std::unique_ptr<ZEL::IScenimator> document(loaded);
    if (document->Update(time) != ZEL::kSuccess) {
        return Fail(document->GetErrorText());
    }
    target->BeginDraw();
    target->Clear(Gfx::ColorF{1, 1, 1, 1});
    const int rendered = document->Render(Gfx::Matrix3x2::Identity(), nullptr);
    if (target->EndDraw() != Gfx::kOk || rendered != ZEL::kSuccess) {
        return Fail(rendered != ZEL::kSuccess ? document->GetErrorText() : "Rendering Error");
    }
    if (target->WritePng(argv[2]) != Gfx::kOk) {
        return Fail(std::string("could not write ") + argv[2]);
    }
    return 0;
}
