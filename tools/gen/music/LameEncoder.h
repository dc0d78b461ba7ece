#pragma once
#include <string>

namespace AssetGen {

// Encodes a WAV file to constant-bitrate MP3 with the `lame` program found on
// PATH. Returns false, with a message on stderr, if lame is missing or fails.
bool encodeMp3(const std::string& wavPath, const std::string& mp3Path);

}  // namespace AssetGen
