#pragma once
#include <array>
#include <string>
#include <vector>

namespace AssetGen {

enum class BassStyle { None, Hold, Pulse };
enum class ArpStyle { None, Eighths, Sixteenths };
enum class MelodyId { None, ThemeA, ThemeB, Outro };

// What plays in one section. "From" fields count bars from the section start.
struct Section {
    std::string name;
    int bars;
    std::vector<int> chords;  // chord index per bar, repeated as needed
    BassStyle bass;
    int bassFrom;
    ArpStyle arp;
    int arpFrom;
    int drums;  // 0 none, 1 hats, 2 +kick, 3 +snare, 4 full, 5 build-up roll
    int drumsLate;
    int lateFrom;
    MelodyId melody;
    int leadDouble;  // semitones of a second, quieter lead line; 0 for none
    int riserFrom;   // -1 for no riser
    bool crash;      // cymbal on the first downbeat
};

struct Chord {
    std::array<int, 4> pad;  // MIDI notes, voiced around middle C
    int bass;                // MIDI root in the bass register
};

// The song form: 100 BPM in 4/4, so a bar is exactly 2400 ms and every section
// boundary falls on a whole millisecond.
class Arrangement {
  public:
    static constexpr double kBeat = 0.6;  // s
    static constexpr double kBar = 4 * kBeat;
    // The player stops here; everything is faded to silence by then.
    static constexpr double kEnd = 154.0;
    // Length of the rendered file: a short silent tail keeps encoder padding off the music.
    static constexpr double kLength = 155.0;

    Arrangement();

    const std::vector<Section>& sections() const { return sections_; }
    int bars() const { return static_cast<int>(barSection_.size()); }
    const Section& sectionOf(int bar) const { return sections_[barSection_[bar]]; }
    int barInSection(int bar) const { return barOffset_[bar]; }
    const Chord& chordOf(int bar) const;
    double sectionStart(const std::string& name) const;
    static double barTime(int bar) { return bar * kBar; }

  private:
    std::vector<Section> sections_;
    std::vector<int> barSection_;
    std::vector<int> barOffset_;
};

}  // namespace AssetGen
