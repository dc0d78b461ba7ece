#pragma once
#include <vector>

#include "Arrangement.h"

namespace AssetGen {

// One melody note on an eighth-note grid relative to the phrase start.
struct MelodyNote {
    int start;   // eighths
    int length;  // eighths
    int midi;
};

// The lead lines. Theme A and B span 8 bars and repeat to fill their section.
const std::vector<MelodyNote>& melodyNotes(MelodyId id);
int melodyBars(MelodyId id);

}  // namespace AssetGen
