#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Check/Diagnostic.h"
#include "Core/Factory.h"
#include "Core/ReadRecord.h"

namespace Gfx {
class RenderTarget;
}

namespace ZEL {

class Scenimator;

// Checks one document as zelrender --check does: loads it with everything it names
// (children, sources, images) while the reader keeps its record, then reports what the
// reader forgave, the load's error with notes, what is most likely a mistake in the loaded
// documents, and what fails when its timeline plays.
class DocumentCheck {
  public:
    struct Settings {
        std::string document;
        uint32_t start = 0;           // load time, ms
        std::optional<uint32_t> run;  // ms to play; default: until the animations end
    };
    // When the animations never end, the run stops where the players stop.
    static constexpr uint32_t kPlayersEnd = 154000;  // ms after the load

    explicit DocumentCheck(Settings settings);
    ~DocumentCheck();
    DocumentCheck(const DocumentCheck&) = delete;
    DocumentCheck& operator=(const DocumentCheck&) = delete;

    // False when the document did not load (its error is then among the diagnostics).
    bool Load();
    // The files the load read as child documents, as the file system names them.
    std::vector<std::string> ChildFiles() const;
    // Everything after the load: lint, then the run. Only after a successful Load.
    void Check();
    // Sorted by file and line (the run's reports last, in time order); no repeats.
    std::vector<Diagnostic> Diagnostics() const;

  private:
    Settings m_Settings;
    ReadRecord m_Record;
    Factory m_Factory;
    std::shared_ptr<Gfx::RenderTarget> m_Target;
    std::unique_ptr<Scenimator> m_Document;
    std::vector<Diagnostic> m_Static;   // reader and lint
    std::vector<Diagnostic> m_Runtime;  // the run, in time order
};

// The file's identity on disk, so two spellings of one path compare equal.
std::string FileIdentity(const std::string& path);

}  // namespace ZEL
