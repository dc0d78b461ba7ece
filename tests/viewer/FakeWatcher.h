#pragma once
#include <string>
#include <vector>

#include "Viewer/IFileWatcher.h"

// Reports the changes a test announces and remembers what it was asked to watch.
class FakeWatcher : public ZEL::IFileWatcher {
  public:
    void Watch(const std::vector<std::string>& paths) override { watched = paths; }
    int TakeChanges() override {
        const int taken = pending;
        pending = 0;
        return taken;
    }
    void Change() { ++pending; }

    std::vector<std::string> watched;
    int pending = 0;
};
