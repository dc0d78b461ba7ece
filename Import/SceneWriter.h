#pragma once
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Import/Geometry2D.h"

namespace Import {

// A number with at most `decimals` decimals, without trailing zeros ("12.5", "0", "-3").
std::string Num(double value, int decimals);
// Decimals that keep rounding within 1/200 of a device pixel at this many pixels per unit.
int DecimalsFor(double pixelsPerUnit);

// Collects the named sections of one document and writes its text. Names carry the
// prefix, hold no white space, and are made unique within their section by a suffix.
class SceneWriter {
  public:
    explicit SceneWriter(std::string prefix) : m_Prefix(std::move(prefix)) {}

    std::string AddGeometry(const std::string& base, const std::string& body);
    // A brush whose body equals an earlier one of the same base name is shared.
    std::string AddBrush(const std::string& base, const std::string& body);
    std::string AddBitmap(const std::string& base, const std::string& path);
    std::string AddTransform(const std::string& base, const std::string& body);
    std::string AddProcedure(const std::string& base, const std::vector<std::string>& commands);

    // The whole document; MainAnim draws the procedure named main.
    std::string Text(const std::string& main) const;

    static std::string PathBody(const Path& path, int decimals);

  private:
    struct Section {
        std::vector<std::pair<std::string, std::string>> entries;
        std::set<std::string> names;
    };
    std::string Unique(Section& section, const std::string& base);
    static void WriteSection(std::string* out, const char* label, const Section& section);

    std::string m_Prefix;
    Section m_Geometries, m_Brushes, m_Bitmaps, m_Transforms, m_Executables;
    std::map<std::pair<std::string, std::string>, std::string> m_SharedBrushes;
};

}  // namespace Import
