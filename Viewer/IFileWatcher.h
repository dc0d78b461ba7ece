#pragma once
#include <string>
#include <vector>

namespace ZEL {

// Tells which of a set of files changed: written, created, replaced by a rename or removed.
class IFileWatcher {
  public:
    virtual ~IFileWatcher() = default;
    // Replaces the watched set; relative paths resolve against the working directory.
    virtual void Watch(const std::vector<std::string>& paths) = 0;
    // Changes to watched files since the last call; never waits.
    virtual int TakeChanges() = 0;
};

}  // namespace ZEL
