#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FakeFactory.h"
#include "Platform/Host.h"
#include "Platform/ScriptedOsLayer.h"

// Runs the host on the scripted OS layer with a fake engine.
class HostFixture : public ::testing::Test {
  protected:
    int Run() {
        return os.RunToExit([this] {
            return ZEL::RunHost(os, [this]() -> ZEL::IFactory* {
                os.Record("GetFactory");
                return engine.factoryAvailable ? new FakeFactory(os, engine) : nullptr;
            });
        });
    }

    int Updates() const { return static_cast<int>(engine.updateTimes.size()); }
    bool Logged(const std::string& entry) const { return os.Count(entry) > 0; }

    // Index of the first entry equal to entry, or -1.
    int IndexOf(const std::string& entry) const {
        const auto& log = os.Log();
        auto it = std::find(log.begin(), log.end(), entry);
        return it == log.end() ? -1 : static_cast<int>(it - log.begin());
    }

    std::vector<std::string> EntriesStartingWith(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& entry : os.Log()) {
            if (entry.compare(0, prefix.size(), prefix) == 0) {
                found.push_back(entry.substr(prefix.size()));
            }
        }
        return found;
    }

    ZEL::ScriptedOsLayer os;
    EngineScript engine;
};
