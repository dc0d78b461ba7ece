#pragma once
#include <string>
#include <utility>
#include <vector>

#include "Import/Diagnostics.h"
#include "Import/Element.h"

namespace Import {

// The CSS of <style> elements: rules whose selectors are type, class and id selectors,
// compounds of them and descendant or child combinations. Anything else (attribute
// selectors, pseudo-classes, at-rules) is reported and skipped.
class StyleSheet {
  public:
    void Add(const std::string& css, int line, Diagnostics* diagnostics);
    // Sets every element's declared properties: presentation attributes, then matching
    // rules by specificity and order, then the style attribute.
    void Cascade(Element* root) const;
    size_t RuleCount() const { return m_Rules.size(); }

  private:
    struct Compound {
        std::string type;  // empty or "*" matches every element
        std::string id;
        std::vector<std::string> classes;
    };
    struct Selector {
        std::vector<Compound> parts;    // left to right
        std::vector<char> combinators;  // between parts: ' ' descendant, '>' child
        int specificity = 0;
    };
    struct Rule {
        Selector selector;
        std::vector<std::pair<std::string, std::string>> declarations;
        size_t order = 0;
    };

    static bool ParseSelector(const std::string& text, Selector* out);
    static bool MatchesCompound(const Compound& c, const Element& e);
    static bool Matches(const Selector& s, size_t part, const Element& e);
    void CascadeOne(Element* element) const;

    std::vector<Rule> m_Rules;
};

// Every <style> element's text, in document order, added to a sheet.
StyleSheet CollectStyleSheets(const Element& root, Diagnostics* diagnostics);

// True for the properties that SVG also accepts as presentation attributes.
bool IsPresentationAttribute(const std::string& name);

}  // namespace Import
