#include "fuzz/FuzzHarness.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <unistd.h>

#include "Core/Factory.h"
#include "Core/IScenimator.h"
#include "Core/ReadRecord.h"
#include "Gfx/RenderTarget.h"

namespace {

constexpr size_t kMaxFiles = 8;
constexpr char kMarker[] = "\n@@\n";
constexpr size_t kMarkerSize = 4;
// Late enough to be past the end of most controllers, far from the 32-bit wrap.
constexpr uint32_t kLaterTime = 1234567;

std::string g_Dir;

void RemoveFolder() {
    for (size_t i = 0; i < kMaxFiles; ++i) {
        ::unlink((g_Dir + "/f" + std::to_string(i)).c_str());
    }
    ::rmdir(g_Dir.c_str());
}

// Once per process: fixed fonts (as in the tests) and a private working directory.
void EnterPrivateFolder() {
    if (!g_Dir.empty()) {
        return;
    }
#ifdef ZEL_FUZZ_FONTS_CONF
    setenv("FONTCONFIG_FILE", ZEL_FUZZ_FONTS_CONF, 0);
#endif
    char pattern[] = "/tmp/zel-fuzz-XXXXXX";
    if (!::mkdtemp(pattern) || ::chdir(pattern) != 0) {
        std::perror("zel fuzz: private folder");
        std::abort();
    }
    g_Dir = pattern;
    std::atexit(RemoveFolder);
}

void WriteFile(const std::string& name, const uint8_t* data, size_t size) {
    FILE* f = std::fopen(name.c_str(), "wb");
    if (!f || (size && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) {
        std::perror("zel fuzz: write");
        std::abort();
    }
}

// Writes f0..fN from the input and removes the files a previous input left beyond fN.
void WriteFiles(const uint8_t* data, size_t size) {
    size_t file = 0;
    size_t begin = 0;
    while (file + 1 < kMaxFiles) {
        const void* hit = size - begin >= kMarkerSize
                              ? ::memmem(data + begin, size - begin, kMarker, kMarkerSize)
                              : nullptr;
        if (!hit) {
            break;
        }
        const size_t end = static_cast<const uint8_t*>(hit) - data;
        WriteFile("f" + std::to_string(file++), data + begin, end - begin);
        begin = end + kMarkerSize;
    }
    WriteFile("f" + std::to_string(file++), data + begin, size - begin);
    for (; file < kMaxFiles; ++file) {
        ::unlink(("f" + std::to_string(file)).c_str());
    }
}

void Exercise(ZEL::IScenimator& doc, Gfx::RenderTarget& target) {
    doc.Update(0);
    doc.Update(kLaterTime);
    target.BeginDraw();
    target.Clear({1, 1, 1, 1});
    doc.Render(Gfx::Matrix3x2::Identity(), nullptr);
    target.EndDraw();
    bool hit = false;
    doc.HitTest(48, 48, &hit);
}

}  // namespace

int RunLoadInput(const uint8_t* data, size_t size, bool render) {
    EnterPrivateFolder();
    WriteFiles(data, size);

    std::shared_ptr<Gfx::RenderTarget> target;
    if (render && Gfx::RenderTarget::Create(96, 96, 96.0f, &target) != Gfx::kOk) {
        std::abort();
    }
    ZEL::Factory factory;
    // Loads alone go through the reader's record as well, as zelrender --check loads.
    ZEL::ReadRecord record;
    if (!render) {
        factory.SetReadRecord(&record);
    }
    ZEL::IScenimator* loaded = nullptr;
    if (factory.CreateScenimator("f0", 0, target.get(), &loaded) != ZEL::kSuccess) {
        // For checking by hand why a seed does not load.
        if (std::getenv("ZEL_FUZZ_VERBOSE")) {
            std::fprintf(stderr, "load failed: %s\n", factory.GetErrorText().c_str());
        }
        return 0;
    }
    std::unique_ptr<ZEL::IScenimator> doc(loaded);
    if (render) {
        Exercise(*doc, *target);
    }
    return 0;
}
