#include "Score.h"

#include <algorithm>

#include "Melodies.h"

namespace AssetGen {

namespace {

constexpr double kEighth = Arrangement::kBeat / 2;
constexpr double kSixteenth = Arrangement::kBeat / 4;
// Bass and arp notes sit an octave above the chord table's roots.
constexpr int kBassOctave = 12;
constexpr int kArpOctave = 12;

}  // namespace

std::vector<Note> Score::held(bool bass) const {
    std::vector<Note> notes;
    for (int bar = 0; bar < arr_.bars();) {
        const Section& s = arr_.sectionOf(bar);
        const Chord& chord = arr_.chordOf(bar);
        int end = bar + 1;
        while (end < arr_.bars() && &arr_.sectionOf(end) == &s && &arr_.chordOf(end) == &chord) {
            ++end;
        }
        const double start = Arrangement::barTime(bar);
        const double length = (end - bar) * Arrangement::kBar;
        if (!bass) {
            for (int midi : chord.pad) {
                notes.push_back({start, length, midi, 1.0});
            }
        } else if (s.bass == BassStyle::Hold && arr_.barInSection(bar) >= s.bassFrom) {
            notes.push_back({start, length, chord.bass + kBassOctave, 1.0});
        }
        bar = end;
    }
    return notes;
}

std::vector<Note> Score::pad() const {
    return held(false);
}

std::vector<Note> Score::bassHold() const {
    return held(true);
}

std::vector<Note> Score::bassPulse() const {
    // Straight eighths with octave jumps on the offbeats of beats 2 and 4.
    static const int kOffsets[8] = {0, 0, 12, 0, 0, 0, 12, 0};
    std::vector<Note> notes;
    for (int bar = 0; bar < arr_.bars(); ++bar) {
        const Section& s = arr_.sectionOf(bar);
        if (s.bass != BassStyle::Pulse || arr_.barInSection(bar) < s.bassFrom) {
            continue;
        }
        const int root = arr_.chordOf(bar).bass + kBassOctave;
        for (int e = 0; e < 8; ++e) {
            const double vel = e % 2 == 0 ? 1.0 : 0.8;
            notes.push_back(
                {Arrangement::barTime(bar) + e * kEighth, kEighth * 0.7, root + kOffsets[e], vel});
        }
    }
    return notes;
}

std::vector<Note> Score::arp() const {
    static const int kUpDown[8] = {0, 1, 2, 3, 4, 3, 2, 1};
    static const int kBroken[4] = {0, 2, 1, 3};
    std::vector<Note> notes;
    for (int bar = 0; bar < arr_.bars(); ++bar) {
        const Section& s = arr_.sectionOf(bar);
        if (s.arp == ArpStyle::None || arr_.barInSection(bar) < s.arpFrom) {
            continue;
        }
        auto tones = arr_.chordOf(bar).pad;
        std::sort(tones.begin(), tones.end());
        const int top = tones[0] + 12;
        const bool fast = s.arp == ArpStyle::Sixteenths;
        const int steps = fast ? 16 : 8;
        const double step = fast ? kSixteenth : kEighth;
        for (int i = 0; i < steps; ++i) {
            const int idx = fast ? kUpDown[i % 8] : kBroken[i % 4];
            const int midi = (idx == 4 ? top : tones[idx]) + kArpOctave;
            const double vel = i % 4 == 0 ? 1.0 : 0.72;
            notes.push_back({Arrangement::barTime(bar) + i * step, step * 0.5, midi, vel});
        }
    }
    return notes;
}

std::vector<Note> Score::melody(bool doubled) const {
    std::vector<Note> notes;
    int bar = 0;
    for (const auto& s : arr_.sections()) {
        const int shift = doubled ? s.leadDouble : 0;
        if (s.melody != MelodyId::None && (!doubled || shift != 0)) {
            for (int p = 0; p < s.bars; p += melodyBars(s.melody)) {
                const double origin = Arrangement::barTime(bar + p);
                for (const auto& m : melodyNotes(s.melody)) {
                    const double vel = m.start % 8 == 0 ? 1.0 : 0.85;
                    // A short gap before the next note keeps the phrasing articulate.
                    notes.push_back({origin + m.start * kEighth, m.length * kEighth - 0.04,
                                     m.midi + shift, vel});
                }
            }
        }
        bar += s.bars;
    }
    return notes;
}

std::vector<Note> Score::lead() const {
    return melody(false);
}

std::vector<Note> Score::leadDouble() const {
    return melody(true);
}

void Score::drumBar(int bar, int level, std::vector<DrumHit>& hits) const {
    const double t0 = Arrangement::barTime(bar);
    const double hatScale = level == 1 ? 0.7 : 1.0;
    for (int e = 0; e < 8 && level >= 1; ++e) {
        const bool open = level >= 4 && e == 7;
        const double vel = (e % 2 == 0 ? 0.35 : 0.55) * hatScale;
        hits.push_back({open ? DrumKind::OpenHat : DrumKind::Hat, t0 + e * kEighth, vel});
        if (level >= 4 && e != 7) {
            hits.push_back({DrumKind::Hat, t0 + e * kEighth + kSixteenth, 0.16});
        }
    }
    if (level >= 2) {
        hits.push_back({DrumKind::Kick, t0, 1.0});
        hits.push_back({DrumKind::Kick, t0 + 2 * Arrangement::kBeat, 1.0});
    }
    if (level >= 4 && bar % 2 == 1) {
        hits.push_back({DrumKind::Kick, t0 + 5 * kEighth, 0.7});
    }
    if (level >= 3) {
        hits.push_back({DrumKind::Snare, t0 + Arrangement::kBeat, 0.9});
        hits.push_back({DrumKind::Snare, t0 + 3 * Arrangement::kBeat, 0.9});
    }
}

void Score::buildBar(int bar, std::vector<DrumHit>& hits) const {
    const double t0 = Arrangement::barTime(bar);
    const int offset = arr_.barInSection(bar);
    for (int b = 0; b < 4; ++b) {
        hits.push_back({DrumKind::Kick, t0 + b * Arrangement::kBeat, 0.95});
    }
    for (int e = 0; e < 8; ++e) {
        hits.push_back({DrumKind::Hat, t0 + e * kEighth, e % 2 == 0 ? 0.3 : 0.5});
    }
    // The snare roll doubles its rate over the last two bars and swells.
    const int perBar = offset < 2 ? 2 : (offset == 2 ? 8 : 16);
    const double step = Arrangement::kBar / perBar;
    const double phase = perBar == 2 ? Arrangement::kBeat : 0.0;
    for (int i = 0; i < perBar; ++i) {
        const double progress = (offset + static_cast<double>(i) / perBar) / 4.0;
        hits.push_back({DrumKind::Snare, t0 + phase + i * step, 0.35 + 0.6 * progress});
    }
}

std::vector<DrumHit> Score::drums() const {
    std::vector<DrumHit> hits;
    for (int bar = 0; bar < arr_.bars(); ++bar) {
        const Section& s = arr_.sectionOf(bar);
        const int offset = arr_.barInSection(bar);
        const int level = offset >= s.lateFrom ? s.drumsLate : s.drums;
        if (level == 5) {
            buildBar(bar, hits);
        } else {
            drumBar(bar, level, hits);
        }
        if (s.crash && offset == 0) {
            hits.push_back({DrumKind::Crash, Arrangement::barTime(bar), 0.8});
        }
    }
    return hits;
}

std::vector<Riser> Score::risers() const {
    std::vector<Riser> out;
    int bar = 0;
    for (const auto& s : arr_.sections()) {
        if (s.riserFrom >= 0) {
            out.push_back(
                {Arrangement::barTime(bar + s.riserFrom), Arrangement::barTime(bar + s.bars)});
        }
        bar += s.bars;
    }
    return out;
}

Automation Score::arpCutoff() const {
    const double build = arr_.sectionStart("build");
    const double themeB = arr_.sectionStart("theme_b");
    const double breakdown = arr_.sectionStart("breakdown");
    const double finale = arr_.sectionStart("finale");
    const double outro = arr_.sectionStart("outro");
    return Automation({{2 * Arrangement::kBar, 0.25},
                       {arr_.sectionStart("theme_a"), 1.0},
                       {build, 1.0},
                       {themeB, 2.2},
                       {themeB, 1.5},
                       {breakdown, 1.5},
                       {breakdown, 0.45},
                       {breakdown + 6 * Arrangement::kBar, 0.5},
                       {finale, 1.4},
                       {finale, 1.6},
                       {outro, 1.6},
                       {outro, 1.0},
                       {outro + 4 * Arrangement::kBar, 0.35}});
}

Automation Score::padCutoff() const {
    const double themeB = arr_.sectionStart("theme_b");
    const double breakdown = arr_.sectionStart("breakdown");
    const double finale = arr_.sectionStart("finale");
    const double outro = arr_.sectionStart("outro");
    return Automation({{0.0, 0.5},
                       {arr_.sectionStart("theme_a"), 1.0},
                       {arr_.sectionStart("build"), 1.0},
                       {themeB, 1.7},
                       {themeB, 1.3},
                       {breakdown, 1.3},
                       {breakdown, 0.8},
                       {finale, 1.1},
                       {finale, 1.4},
                       {outro, 1.4},
                       {outro + 4 * Arrangement::kBar, 0.5}});
}

}  // namespace AssetGen
