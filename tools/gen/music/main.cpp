// gen_music: synthesises the start-up show's music track.
//
//   gen_music [--keep-wav] [--levels] OUTDIR
//
// Writes OUTDIR/duskwave.mp3 and OUTDIR/sections.txt (one "START_MS NAME" per
// line, the last being the silent end) and prints the same table.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "LameEncoder.h"
#include "Song.h"
#include "WavWriter.h"

namespace {

constexpr int kSampleRate = 44100;

bool writeSections(const AssetGen::Arrangement& arr, const std::string& path) {
    std::ofstream out(path);
    int bar = 0;
    for (const auto& s : arr.sections()) {
        const long ms = std::lround(AssetGen::Arrangement::barTime(bar) * 1000.0);
        out << ms << ' ' << s.name << '\n';
        std::printf("%7ld  %s\n", ms, s.name.c_str());
        bar += s.bars;
    }
    const long endMs = std::lround(AssetGen::Arrangement::kEnd * 1000.0);
    out << endMs << " end\n";
    std::printf("%7ld  end\n", endMs);
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    bool keepWav = false, levels = false;
    std::string outDir;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--keep-wav") == 0) {
            keepWav = true;
        } else if (std::strcmp(argv[i], "--levels") == 0) {
            levels = true;
        } else {
            outDir = argv[i];
        }
    }
    if (outDir.empty()) {
        std::fprintf(stderr, "usage: gen_music [--keep-wav] [--levels] OUTDIR\n");
        return 2;
    }
    const AssetGen::Song song(kSampleRate);
    const std::string wav = outDir + "/duskwave.wav";
    if (!writeSections(song.arrangement(), outDir + "/sections.txt") ||
        !AssetGen::writeWav(wav, song.render(levels), kSampleRate)) {
        std::fprintf(stderr, "gen_music: cannot write into %s\n", outDir.c_str());
        return 1;
    }
    const bool ok = AssetGen::encodeMp3(wav, outDir + "/duskwave.mp3");
    if (!keepWav) {
        std::remove(wav.c_str());
    }
    return ok ? 0 : 1;
}
