#pragma once
#include <string>
#include <vector>

#include "Viewer/IMusic.h"

// Logs each call: "play MS", "pause", "resume".
class FakeMusic : public ZEL::IMusic {
  public:
    void PlayFrom(uint64_t positionMs) override {
        log.push_back("play " + std::to_string(positionMs));
    }
    void Pause() override { log.push_back("pause"); }
    void Resume() override { log.push_back("resume"); }

    std::vector<std::string> log;
};
