#include "Viewer/InotifyWatcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace ZEL {

namespace {

// Written in place, created, renamed in (the usual save) or removed (a rename away).
constexpr uint32_t kMask = IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_MOVED_FROM;
constexpr size_t kBufferBytes = 64 * 1024;

std::pair<std::string, std::string> FolderAndName(const std::filesystem::path& path) {
    return {path.parent_path().string(), path.filename().string()};
}

}  // namespace

InotifyWatcher::InotifyWatcher() : m_Fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

InotifyWatcher::~InotifyWatcher() {
    if (m_Fd >= 0) {
        close(m_Fd);
    }
}

std::set<std::pair<std::string, std::string>> InotifyWatcher::Places(
    const std::vector<std::string>& paths) {
    std::set<std::pair<std::string, std::string>> places;
    for (const std::string& path : paths) {
        std::error_code error;
        const auto absolute = std::filesystem::absolute(path, error).lexically_normal();
        if (error || !absolute.has_filename()) {
            continue;
        }
        places.insert(FolderAndName(absolute));
        const auto resolved = std::filesystem::weakly_canonical(absolute, error);
        if (!error && resolved.has_filename()) {
            places.insert(FolderAndName(resolved));
        }
    }
    return places;
}

void InotifyWatcher::Watch(const std::vector<std::string>& paths) {
    if (m_Fd < 0) {
        return;
    }
    const auto places = Places(paths);
    std::set<std::string> folders;
    for (const auto& place : places) {
        folders.insert(place.first);
    }
    DropFoldersNotIn(folders);
    m_Names.clear();
    for (const auto& place : places) {
        auto found = m_Folders.find(place.first);
        if (found == m_Folders.end()) {
            // A folder that does not exist cannot be watched; its files stay unseen.
            const int wd = inotify_add_watch(m_Fd, place.first.c_str(), kMask);
            if (wd < 0) {
                continue;
            }
            found = m_Folders.emplace(place.first, wd).first;
        }
        m_Names.emplace(found->second, place.second);
    }
}

void InotifyWatcher::DropFoldersNotIn(const std::set<std::string>& folders) {
    std::set<int> kept, dropped;
    for (auto it = m_Folders.begin(); it != m_Folders.end();) {
        if (folders.count(it->first) == 0) {
            dropped.insert(it->second);
            it = m_Folders.erase(it);
        } else {
            kept.insert(it->second);
            ++it;
        }
    }
    // Two names of one folder (through a link) share a descriptor.
    for (int wd : dropped) {
        if (kept.count(wd) == 0) {
            inotify_rm_watch(m_Fd, wd);
        }
    }
}

int InotifyWatcher::TakeChanges() {
    if (m_Fd < 0) {
        return 0;
    }
    alignas(inotify_event) char buffer[kBufferBytes];
    int changes = 0;
    for (;;) {
        const ssize_t length = read(m_Fd, buffer, sizeof buffer);
        if (length <= 0) {
            return changes;
        }
        changes += CountEvents(buffer, length);
    }
}

int InotifyWatcher::CountEvents(const char* buffer, long length) {
    int changes = 0;
    for (long at = 0; at < length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        at += static_cast<long>(sizeof(inotify_event) + event->len);
        if (event->mask & IN_Q_OVERFLOW) {
            ++changes;  // events were lost: one of them may have been ours
        } else if (event->mask & IN_IGNORED) {
            // The folder went away; a later Watch may add it again.
            for (auto it = m_Folders.begin(); it != m_Folders.end(); ++it) {
                if (it->second == event->wd) {
                    m_Folders.erase(it);
                    break;
                }
            }
        } else if (event->len > 0 && m_Names.count({event->wd, event->name}) > 0) {
            ++changes;
        }
    }
    return changes;
}

}  // namespace ZEL
