#pragma once
#include <vector>

#include "Arrangement.h"
#include "Automation.h"
#include "Note.h"

namespace AssetGen {

enum class DrumKind { Kick, Snare, Hat, OpenHat, Crash };

struct DrumHit {
    DrumKind kind;
    double time;  // s
    double velocity;
};

struct Riser {
    double start;
    double end;
};

// Turns the arrangement into timed notes, drum hits and filter curves.
class Score {
  public:
    explicit Score(const Arrangement& arrangement) : arr_(arrangement) {}

    std::vector<Note> pad() const;
    std::vector<Note> bassPulse() const;
    std::vector<Note> bassHold() const;
    std::vector<Note> arp() const;
    std::vector<Note> lead() const;
    std::vector<Note> leadDouble() const;
    std::vector<DrumHit> drums() const;
    std::vector<Riser> risers() const;
    Automation arpCutoff() const;
    Automation padCutoff() const;

  private:
    // Consecutive bars with the same chord become one long note.
    std::vector<Note> held(bool bass) const;
    void drumBar(int bar, int level, std::vector<DrumHit>& hits) const;
    void buildBar(int bar, std::vector<DrumHit>& hits) const;
    std::vector<Note> melody(bool doubled) const;

    const Arrangement& arr_;
};

}  // namespace AssetGen
