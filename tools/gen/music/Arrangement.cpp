#include "Arrangement.h"

#include <stdexcept>

namespace AssetGen {

namespace {

// A natural minor: i, VI, III, VII and friends, the dusk palette.
enum ChordIndex { Am, F, C, G, Em, Dm };

const std::array<Chord, 6> kChords = {{
    {{57, 60, 64, 71}, 33},  // Am(add9): A C E B
    {{53, 57, 60, 64}, 29},  // Fmaj7
    {{55, 60, 64, 67}, 36},  // C/G
    {{55, 59, 62, 67}, 31},  // G
    {{55, 59, 64, 67}, 28},  // Em/G
    {{53, 57, 60, 62}, 38},  // Dm7
}};

}  // namespace

Arrangement::Arrangement() {
    using B = BassStyle;
    using A = ArpStyle;
    using M = MelodyId;
    sections_ = {
        {"intro", 8, {Am, F, C, G}, B::Hold, 4, A::Sixteenths, 2, 0, 1, 6, M::None, 0, -1, false},
        {"theme_a",
         16,
         {Am, F, C, G},
         B::Pulse,
         0,
         A::Sixteenths,
         0,
         2,
         3,
         8,
         M::ThemeA,
         0,
         -1,
         true},
        {"build", 4, {Dm, Em, F, G}, B::Pulse, 0, A::Sixteenths, 0, 5, 5, 0, M::None, 0, 0, false},
        {"theme_b",
         16,
         {F, G, Em, Am},
         B::Pulse,
         0,
         A::Sixteenths,
         0,
         4,
         4,
         0,
         M::ThemeB,
         -12,
         -1,
         true},
        {"breakdown",
         8,
         {F, F, G, G, Em, Em, Am, Am},
         B::Hold,
         0,
         A::Eighths,
         0,
         0,
         1,
         6,
         M::None,
         0,
         6,
         false},
        {"finale",
         8,
         {Am, F, C, G},
         B::Pulse,
         0,
         A::Sixteenths,
         0,
         4,
         4,
         0,
         M::ThemeA,
         12,
         -1,
         true},
        {"outro", 4, {Am, F, Am, Am}, B::Hold, 0, A::Eighths, 0, 0, 0, 0, M::Outro, 0, -1, false},
    };
    for (size_t s = 0; s < sections_.size(); ++s) {
        for (int b = 0; b < sections_[s].bars; ++b) {
            barSection_.push_back(static_cast<int>(s));
            barOffset_.push_back(b);
        }
    }
}

const Chord& Arrangement::chordOf(int bar) const {
    const Section& s = sectionOf(bar);
    return kChords[s.chords[barOffset_[bar] % s.chords.size()]];
}

double Arrangement::sectionStart(const std::string& name) const {
    int bar = 0;
    for (const auto& s : sections_) {
        if (s.name == name) {
            return barTime(bar);
        }
        bar += s.bars;
    }
    throw std::invalid_argument("no section " + name);
}

}  // namespace AssetGen
