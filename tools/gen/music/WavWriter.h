#pragma once
#include <string>

#include "StereoBuffer.h"

namespace AssetGen {

// Writes 16-bit stereo PCM WAV; samples are clamped to [-1, 1]. Returns false
// if the file cannot be written.
bool writeWav(const std::string& path, const StereoBuffer& audio, int sampleRate);

}  // namespace AssetGen
