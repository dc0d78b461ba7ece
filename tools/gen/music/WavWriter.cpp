#include "WavWriter.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <vector>

namespace AssetGen {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putTag(std::vector<uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

int16_t toPcm(float x) {
    const double v = std::floor(std::fmax(-1.0, std::fmin(1.0, x)) * 32767.0 + 0.5);
    return static_cast<int16_t>(v);
}

}  // namespace

bool writeWav(const std::string& path, const StereoBuffer& audio, int sampleRate) {
    const uint32_t dataBytes = static_cast<uint32_t>(audio.frames() * 4);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 2);
    put32(out, static_cast<uint32_t>(sampleRate));
    put32(out, static_cast<uint32_t>(sampleRate) * 4);
    put16(out, 4);
    put16(out, 16);
    putTag(out, "data");
    put32(out, dataBytes);
    for (size_t i = 0; i < audio.frames(); ++i) {
        put16(out, static_cast<uint16_t>(toPcm(audio.left()[i])));
        put16(out, static_cast<uint16_t>(toPcm(audio.right()[i])));
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

}  // namespace AssetGen
