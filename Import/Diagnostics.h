#pragma once
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace Import {

// An SVG that cannot be imported at all; line 0 when no line applies.
class ImportError : public std::runtime_error {
  public:
    ImportError(int line, const std::string& message) : std::runtime_error(message), m_Line(line) {}
    int Line() const { return m_Line; }

  private:
    int m_Line;
};

// The warnings of one import, each "FILE:LINE: warning: TEXT", at most once per kind and
// element.
class Diagnostics {
  public:
    explicit Diagnostics(std::string fileName) : m_FileName(std::move(fileName)) {}

    // kind groups repeats: one warning per kind and element (key).
    void Warn(int line, const std::string& kind, const std::string& key, const std::string& text);
    // "<kind> on "id" is not imported", the common case.
    void NotImported(int line, const std::string& what, const std::string& element);

    const std::vector<std::string>& Warnings() const { return m_Warnings; }
    std::string ErrorText(const ImportError& error) const;
    const std::string& FileName() const { return m_FileName; }

  private:
    std::string m_FileName;
    std::set<std::pair<std::string, std::string>> m_Seen;
    std::vector<std::string> m_Warnings;
};

}  // namespace Import
