#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Import {

// One SVG element as the importer sees it: its local name, attributes without namespace
// prefixes (xlink:href is "href"), and the properties the style cascade declared for it.
// Character data is a child named "#text" whose text holds it.
struct Element {
    std::string name;
    int line = 0;
    std::map<std::string, std::string> attributes;
    // Declared properties after presentation attributes, style sheets and the style
    // attribute (in that order of strength); inheritance comes later.
    std::map<std::string, std::string> declared;
    std::string text;
    Element* parent = nullptr;
    std::vector<std::unique_ptr<Element>> children;

    const std::string* Attribute(const std::string& key) const {
        auto it = attributes.find(key);
        return it == attributes.end() ? nullptr : &it->second;
    }
    std::string Id() const {
        auto it = attributes.find("id");
        return it == attributes.end() ? std::string() : it->second;
    }
    // The id when there is one, else the element's name and line ("path at line 12").
    std::string Label() const;
    std::vector<std::string> Classes() const;
};

}  // namespace Import
