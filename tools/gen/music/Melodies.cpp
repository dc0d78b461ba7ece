#include "Melodies.h"

namespace AssetGen {

namespace {

// Over Am F C G: dotted-quarter phrases falling E-D-C, answered by a rise.
const std::vector<MelodyNote> kThemeA = {
    {0, 3, 76},  {3, 3, 74},  {6, 2, 72},   // Am
    {8, 3, 69},  {11, 3, 72}, {14, 2, 77},  // F
    {16, 6, 76}, {22, 2, 79},               // C
    {24, 7, 74},                            // G
    {32, 3, 72}, {35, 3, 71}, {38, 2, 69},  // Am
    {40, 3, 72}, {43, 3, 77}, {46, 2, 81},  // F
    {48, 6, 79}, {54, 2, 76},               // C
    {56, 4, 74}, {60, 3, 71},               // G
};

// Over F G Em Am: the same shapes a step higher, with longer notes.
const std::vector<MelodyNote> kThemeB = {
    {0, 4, 81},  {4, 2, 79},  {6, 2, 77},   // F
    {8, 6, 79},  {14, 2, 74},               // G
    {16, 3, 76}, {19, 3, 79}, {22, 2, 83},  // Em
    {24, 7, 81},                            // Am
    {32, 2, 77}, {34, 2, 79}, {36, 4, 81},  // F
    {40, 3, 83}, {43, 3, 81}, {46, 2, 79},  // G
    {48, 4, 76}, {52, 4, 71},               // Em
    {56, 2, 72}, {58, 6, 76},               // Am
};

// The first motif once more, settling on A.
const std::vector<MelodyNote> kOutro = {
    {0, 3, 76},
    {3, 3, 74},
    {6, 2, 72},
    {8, 10, 69},
};

const std::vector<MelodyNote> kNone;

}  // namespace

const std::vector<MelodyNote>& melodyNotes(MelodyId id) {
    switch (id) {
        case MelodyId::ThemeA:
            return kThemeA;
        case MelodyId::ThemeB:
            return kThemeB;
        case MelodyId::Outro:
            return kOutro;
        case MelodyId::None:
            break;
    }
    return kNone;
}

int melodyBars(MelodyId id) {
    return id == MelodyId::Outro ? 4 : 8;
}

}  // namespace AssetGen
