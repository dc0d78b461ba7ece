// Every example of the format reference, drawn by the engine, against the picture beside
// it. Edges may move with coverage (a different scan converter weighs an edge pixel a
// little differently); flat colours may not.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "Core/Factory.h"
#include "Core/IScenimator.h"
#include "Gfx/ImageDecoder.h"
#include "Gfx/RenderTarget.h"
#include "PictureDifference.h"

namespace {

struct Example {
    std::string name;
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> times;  // ms; the picture is the frame at the last
};

// Names the example in test output rather than its bytes.
void PrintTo(const Example& e, std::ostream* os) {
    *os << e.name;
}

std::vector<Example> ReadManifest() {
    std::ifstream in(std::string(ZEL_SOURCE_DIR) + "/docs/examples/pictures.txt");
    std::vector<Example> examples;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        Example e;
        std::string size, times;
        fields >> e.name >> size >> times;
        char x = 0;
        std::istringstream(size) >> e.width >> x >> e.height;
        std::istringstream list(times);
        std::string t;
        while (std::getline(list, t, ',')) {
            e.times.push_back(static_cast<uint32_t>(std::stoul(t)));
        }
        examples.push_back(e);
    }
    return examples;
}

// Blue, green, red of each pixel, as the players show it: updated at each time, cleared to
// white and drawn.
std::vector<uint8_t> Draw(const Example& e, std::string* error) {
    std::shared_ptr<Gfx::RenderTarget> target;
    if (Gfx::RenderTarget::Create(e.width, e.height, 96.0f, &target) != Gfx::kOk) {
        *error = "no render target";
        return {};
    }
    ZEL::Factory factory;
    ZEL::IScenimator* loaded = nullptr;
    const std::string path = "docs/examples/" + e.name + ".scn";
    if (factory.CreateScenimator(path, 0, target.get(), &loaded) != ZEL::kSuccess) {
        *error = factory.GetErrorText();
        return {};
    }
    std::unique_ptr<ZEL::IScenimator> doc(loaded);
    for (const uint32_t t : e.times) {
        if (doc->Update(t) != ZEL::kSuccess) {
            *error = doc->GetErrorText();
            return {};
        }
        target->BeginDraw();
        target->Clear(Gfx::ColorF{1, 1, 1, 1});
        if (doc->Render(Gfx::Matrix3x2::Identity(), nullptr) != ZEL::kSuccess) {
            *error = doc->GetErrorText();
            return {};
        }
        target->EndDraw();
    }
    std::vector<uint8_t> bgr;
    for (uint32_t y = 0; y < e.height; ++y) {
        const uint8_t* row = target->GetPixels() + static_cast<size_t>(y) * target->GetStride();
        for (uint32_t x = 0; x < e.width; ++x) {
            bgr.insert(bgr.end(), row + 4 * x, row + 4 * x + 3);
        }
    }
    return bgr;
}

std::vector<uint8_t> ReadPicture(const Example& e, std::string* error) {
    std::unique_ptr<Gfx::ImageDecoder> decoder;
    const std::string path = "docs/examples/" + e.name + ".png";
    if (Gfx::ImageDecoder::Open(path, Gfx::DecodeLimits{}, &decoder) != Gfx::kOk) {
        *error = "cannot read " + path;
        return {};
    }
    if (decoder->GetWidth() != e.width || decoder->GetHeight() != e.height) {
        *error = path + " is not " + std::to_string(e.width) + "x" + std::to_string(e.height);
        return {};
    }
    const uint32_t bpp = decoder->GetBytesPerPixel();
    std::vector<uint8_t> packed(static_cast<size_t>(e.width) * e.height * bpp);
    decoder->CopyPixels(e.width * bpp, static_cast<uint32_t>(packed.size()), packed.data());
    std::vector<uint8_t> bgr;
    for (size_t i = 0; i < packed.size(); i += bpp) {
        bgr.insert(bgr.end(), packed.begin() + i, packed.begin() + i + 3);
    }
    return bgr;
}

class ExamplePictures : public testing::TestWithParam<Example> {};

TEST_P(ExamplePictures, EngineDrawsThePictureBesideTheExample) {
    const Example& e = GetParam();
    std::string error;
    const auto drawn = Draw(e, &error);
    ASSERT_FALSE(drawn.empty()) << e.name << ": " << error;
    const auto picture = ReadPicture(e, &error);
    ASSERT_FALSE(picture.empty()) << error;
    const Docs::PictureDifference d = Docs::ComparePictures(picture, drawn, e.width, e.height);
    EXPECT_TRUE(d.Acceptable()) << e.name << ": " << d.Describe()
                                << " (tools/docs_pictures.sh draws the pictures anew)";
}

INSTANTIATE_TEST_SUITE_P(Docs, ExamplePictures, testing::ValuesIn(ReadManifest()),
                         [](const testing::TestParamInfo<Example>& param) {
                             std::string name = param.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(ExamplePictures, ManifestNamesEveryExampleOnce) {
    const auto examples = ReadManifest();
    EXPECT_GE(examples.size(), 30u);
    std::vector<std::string> names;
    for (const auto& e : examples) {
        EXPECT_FALSE(e.times.empty()) << e.name;
        names.push_back(e.name);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
}

}  // namespace
