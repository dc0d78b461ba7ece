#include "Import/Element.h"

#include <sstream>

namespace Import {

std::string Element::Label() const {
    const std::string id = Id();
    if (!id.empty()) {
        return id;
    }
    return name + " at line " + std::to_string(line);
}

std::vector<std::string> Element::Classes() const {
    std::vector<std::string> out;
    if (const std::string* value = Attribute("class")) {
        std::istringstream words(*value);
        std::string word;
        while (words >> word) {
            out.push_back(word);
        }
    }
    return out;
}

}  // namespace Import
