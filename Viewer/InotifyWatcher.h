#pragma once
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Viewer/IFileWatcher.h"

namespace ZEL {

// Watches files through inotify on the folders that hold them, and filters by name:
// editors save by writing a new file and renaming it over the old one, which a watch on
// the file itself would lose. A file named through a symbolic link is watched where the
// link is and where it points. Without inotify nothing is ever reported.
class InotifyWatcher : public IFileWatcher {
  public:
    InotifyWatcher();
    ~InotifyWatcher() override;
    InotifyWatcher(const InotifyWatcher&) = delete;
    InotifyWatcher& operator=(const InotifyWatcher&) = delete;

    void Watch(const std::vector<std::string>& paths) override;
    int TakeChanges() override;

  private:
    // Folder and name of each path, as written and as resolved.
    static std::set<std::pair<std::string, std::string>> Places(
        const std::vector<std::string>& paths);
    void DropFoldersNotIn(const std::set<std::string>& folders);
    int CountEvents(const char* buffer, long length);

    int m_Fd = -1;
    std::map<std::string, int> m_Folders;           // folder -> watch descriptor
    std::set<std::pair<int, std::string>> m_Names;  // (watch descriptor, file name)
};

}  // namespace ZEL
