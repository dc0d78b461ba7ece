#include "Import/StyleSheet.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "Import/SvgSyntax.h"

namespace Import {

namespace {

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

std::string StripComments(const std::string& css) {
    std::string out;
    for (size_t i = 0; i < css.size(); ++i) {
        if (css.compare(i, 2, "/*") == 0) {
            const size_t end = css.find("*/", i + 2);
            if (end == std::string::npos) {
                break;
            }
            i = end + 1;
            continue;
        }
        out += css[i];
    }
    return out;
}

// The index just past the block that opens at css[open] == '{', nested blocks included.
size_t BlockEnd(const std::string& css, size_t open) {
    int depth = 0;
    for (size_t i = open; i < css.size(); ++i) {
        if (css[i] == '{') {
            ++depth;
        } else if (css[i] == '}' && --depth == 0) {
            return i + 1;
        }
    }
    return css.size();
}

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

}  // namespace

bool IsPresentationAttribute(const std::string& name) {
    static const std::set<std::string> kNames = {"fill",
                                                 "fill-opacity",
                                                 "fill-rule",
                                                 "stroke",
                                                 "stroke-width",
                                                 "stroke-opacity",
                                                 "stroke-linecap",
                                                 "stroke-linejoin",
                                                 "stroke-miterlimit",
                                                 "stroke-dasharray",
                                                 "stroke-dashoffset",
                                                 "opacity",
                                                 "color",
                                                 "display",
                                                 "visibility",
                                                 "font-family",
                                                 "font-size",
                                                 "font-weight",
                                                 "font-style",
                                                 "font-variant",
                                                 "font-stretch",
                                                 "font",
                                                 "text-anchor",
                                                 "text-decoration",
                                                 "letter-spacing",
                                                 "word-spacing",
                                                 "stop-color",
                                                 "stop-opacity",
                                                 "clip-path",
                                                 "clip-rule",
                                                 "mask",
                                                 "filter",
                                                 "marker-start",
                                                 "marker-mid",
                                                 "marker-end",
                                                 "marker",
                                                 "overflow",
                                                 "clip",
                                                 "paint-order",
                                                 "mix-blend-mode",
                                                 "isolation",
                                                 "vector-effect",
                                                 "direction",
                                                 "writing-mode",
                                                 "dominant-baseline",
                                                 "alignment-baseline",
                                                 "baseline-shift",
                                                 "image-rendering",
                                                 "shape-rendering",
                                                 "text-rendering",
                                                 "color-rendering",
                                                 "color-interpolation",
                                                 "color-interpolation-filters",
                                                 "enable-background",
                                                 "flood-color",
                                                 "flood-opacity",
                                                 "lighting-color",
                                                 "pointer-events",
                                                 "cursor",
                                                 "unicode-bidi",
                                                 "solid-color",
                                                 "solid-opacity"};
    return kNames.count(name) > 0;
}

bool StyleSheet::ParseSelector(const std::string& text, Selector* out) {
    Selector s;
    size_t i = 0;
    const std::string t = Trim(text);
    int ids = 0, classes = 0, types = 0;
    char pending = 0;
    while (i < t.size()) {
        if (std::isspace(static_cast<unsigned char>(t[i])) || t[i] == '>') {
            if (t[i] == '>') {
                pending = '>';
            } else if (pending == 0) {
                pending = ' ';
            }
            ++i;
            continue;
        }
        if (!s.parts.empty()) {
            if (pending == 0) {
                return false;
            }
            s.combinators.push_back(pending);
        }
        pending = 0;
        Compound c;
        while (i < t.size() && !std::isspace(static_cast<unsigned char>(t[i])) && t[i] != '>') {
            const char kind = t[i];
            if (kind == '*') {
                c.type = "*";
                ++i;
                continue;
            }
            size_t start = (kind == '.' || kind == '#') ? i + 1 : i;
            size_t end = start;
            while (end < t.size() && IsNameChar(t[end])) ++end;
            if (end == start) {
                return false;  // '[', ':', '+', '~' and the like
            }
            const std::string name = t.substr(start, end - start);
            if (kind == '.') {
                c.classes.push_back(name);
                ++classes;
            } else if (kind == '#') {
                c.id = name;
                ++ids;
            } else {
                c.type = name;
                ++types;
            }
            i = end;
        }
        s.parts.push_back(std::move(c));
    }
    if (s.parts.empty() || pending == '>') {
        return false;
    }
    s.specificity = ids * 10000 + classes * 100 + types;
    *out = std::move(s);
    return true;
}

void StyleSheet::Add(const std::string& text, int line, Diagnostics* diagnostics) {
    const std::string css = StripComments(text);
    size_t i = 0;
    while (i < css.size()) {
        const size_t open = css.find_first_of("{@;", i);
        if (open == std::string::npos) {
            break;
        }
        if (css[open] == ';') {
            i = open + 1;
            continue;
        }
        if (css[open] == '@') {
            size_t nameEnd = open + 1;
            while (nameEnd < css.size() && IsNameChar(css[nameEnd])) ++nameEnd;
            const std::string rule = css.substr(open, nameEnd - open);
            diagnostics->Warn(line, "css-at-rule", rule, "CSS " + rule + " is not imported");
            const size_t next = css.find_first_of("{;", nameEnd);
            if (next == std::string::npos) {
                break;
            }
            i = css[next] == ';' ? next + 1 : BlockEnd(css, next);
            continue;
        }
        const size_t close = BlockEnd(css, open);
        const std::string selectors = css.substr(i, open - i);
        const size_t bodyEnd = (close > open + 1 && css[close - 1] == '}') ? close - 1 : close;
        const std::string body = css.substr(open + 1, bodyEnd - open - 1);
        const auto declarations = SplitDeclarations(body);
        size_t start = 0;
        while (start <= selectors.size()) {
            size_t comma = selectors.find(',', start);
            if (comma == std::string::npos)
                comma = selectors.size();
            const std::string one = Trim(selectors.substr(start, comma - start));
            Selector selector;
            if (!one.empty()) {
                if (ParseSelector(one, &selector)) {
                    m_Rules.push_back({selector, declarations, m_Rules.size()});
                } else {
                    diagnostics->Warn(line, "css-selector", one,
                                      "CSS selector \"" + one + "\" is not imported");
                }
            }
            start = comma + 1;
        }
        i = close;
    }
}

bool StyleSheet::MatchesCompound(const Compound& c, const Element& e) {
    if (!c.type.empty() && c.type != "*" && c.type != e.name) {
        return false;
    }
    if (!c.id.empty() && c.id != e.Id()) {
        return false;
    }
    if (!c.classes.empty()) {
        const auto have = e.Classes();
        for (const auto& wanted : c.classes) {
            if (std::find(have.begin(), have.end(), wanted) == have.end()) {
                return false;
            }
        }
    }
    return true;
}

// Matches parts[0..part] with parts[part] on e, walking up for the combinators.
bool StyleSheet::Matches(const Selector& s, size_t part, const Element& e) {
    if (!MatchesCompound(s.parts[part], e)) {
        return false;
    }
    if (part == 0) {
        return true;
    }
    const char combinator = s.combinators[part - 1];
    for (const Element* up = e.parent; up; up = up->parent) {
        if (Matches(s, part - 1, *up)) {
            return true;
        }
        if (combinator == '>') {
            return false;
        }
    }
    return false;
}

void StyleSheet::CascadeOne(Element* element) const {
    for (const auto& [key, value] : element->attributes) {
        if (IsPresentationAttribute(key)) {
            element->declared[key] = value;
        }
    }
    std::vector<const Rule*> matching;
    for (const auto& rule : m_Rules) {
        if (Matches(rule.selector, rule.selector.parts.size() - 1, *element)) {
            matching.push_back(&rule);
        }
    }
    std::stable_sort(matching.begin(), matching.end(), [](const Rule* a, const Rule* b) {
        return a->selector.specificity < b->selector.specificity;
    });
    for (const Rule* rule : matching) {
        for (const auto& [key, value] : rule->declarations) {
            element->declared[key] = value;
        }
    }
    if (const std::string* style = element->Attribute("style")) {
        for (const auto& [key, value] : SplitDeclarations(*style)) {
            element->declared[key] = value;
        }
    }
}

void StyleSheet::Cascade(Element* root) const {
    if (root->name == "#text") {
        return;
    }
    CascadeOne(root);
    for (auto& child : root->children) {
        Cascade(child.get());
    }
}

namespace {
void Collect(const Element& e, StyleSheet* sheet, Diagnostics* diagnostics) {
    if (e.name == "style") {
        const std::string* type = e.Attribute("type");
        if (type && !type->empty() && *type != "text/css") {
            diagnostics->Warn(e.line, "style-type", *type,
                              "<style> of type \"" + *type + "\" is not imported");
            return;
        }
        std::string css;
        for (const auto& child : e.children) {
            if (child->name == "#text") {
                css += child->text;
            }
        }
        sheet->Add(css, e.line, diagnostics);
        return;
    }
    for (const auto& child : e.children) {
        Collect(*child, sheet, diagnostics);
    }
}
}  // namespace

StyleSheet CollectStyleSheets(const Element& root, Diagnostics* diagnostics) {
    StyleSheet sheet;
    Collect(root, &sheet, diagnostics);
    return sheet;
}

}  // namespace Import
