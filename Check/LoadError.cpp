#include "Check/LoadError.h"

#include <cstdlib>
#include <map>
#include <vector>

#include "Check/Similar.h"

namespace ZEL {

namespace {

const char kPrefix[] = "Parse Error:::";

struct Located {
    std::string file;
    int32_t line = 0;
};

// "Parse Error:::FILE : LINE : " repeats once per child document the error is inside.
std::vector<Located> SplitChain(std::string* text) {
    std::vector<Located> chain;
    const std::string prefix = kPrefix;
    while (text->compare(0, prefix.size(), prefix) == 0) {
        const size_t fileEnd = text->find(" : ", prefix.size());
        const size_t lineEnd =
            fileEnd == std::string::npos ? fileEnd : text->find(" : ", fileEnd + 3);
        if (lineEnd == std::string::npos) {
            break;
        }
        Located at;
        at.file = text->substr(prefix.size(), fileEnd - prefix.size());
        at.line = std::atoi(text->substr(fileEnd + 3, lineEnd - fileEnd - 3).c_str());
        chain.push_back(at);
        *text = text->substr(lineEnd + 3);
    }
    return chain;
}

// The text between the first quotation mark at or after from and the last one of text: a
// token may hold quotation marks itself.
bool Quoted(const std::string& text, size_t from, std::string* word) {
    const size_t open = text.find('"', from);
    const size_t close = text.rfind('"');
    if (open == std::string::npos || close <= open) {
        return false;
    }
    *word = text.substr(open + 1, close - open - 1);
    return true;
}

struct ListKind {
    const char* one;
    const char* many;
    bool section;
};

const std::map<std::string, ListKind>& Lists() {
    static const std::map<std::string, ListKind> kLists = {
        {"noOfGeometries", {"geometry", "geometries", true}},
        {"noOfBrushes", {"brush", "brushes", true}},
        {"noOfImages", {"image", "images", true}},
        {"noOfTransforms", {"transform", "transforms", true}},
        {"noOfChildZels", {"child document", "child documents", true}},
        {"noOfExecutables", {"executable", "executables", true}},
        {"noOfControllers", {"controller", "controllers", true}},
        {"noOfAnimations", {"animation", "animations", true}},
        {"noOfFigures", {"figure", "figures", false}},
        {"noOfSegments", {"segment", "segments", false}},
        {"noOfCommands", {"command", "commands", false}},
        {"noOfGradientStops", {"gradient stop", "gradient stops", false}},
        {"noOfChildren", {"child controller", "child controllers", false}},
        {"noOfArgs", {"argument", "arguments", false}},
    };
    return kLists;
}

ListKind KindOf(const std::string& label) {
    auto found = Lists().find(label);
    return found == Lists().end() ? ListKind{"item", "items", false} : found->second;
}

bool IsSectionLabel(const std::string& token) {
    auto found = Lists().find(token);
    return found != Lists().end() && found->second.section;
}

std::string CountText(const ReadRecord::List& list) {
    return list.label + " " + std::to_string(list.count);
}

// What the engine's message says, taken apart.
struct Message {
    bool unknown = false;    // "Unknown ... type" or "Unknown combine mode"
    bool expecting = false;  // expecting "X" got "T"
    std::string what;        // "geometry" (unknown), or X (expecting)
    std::string token;       // T
};

Message Parse(const std::string& text) {
    Message m;
    const std::string unknown = "Unknown ", expecting = "expecting \"", got = "\" got ";
    if (text.compare(0, unknown.size(), unknown) == 0 && Quoted(text, 0, &m.token)) {
        m.unknown = true;
        m.what = text.substr(unknown.size(), text.find('"') - unknown.size());
        for (const std::string tail : {" type ", " "}) {
            if (m.what.size() > tail.size() &&
                m.what.compare(m.what.size() - tail.size(), tail.size(), tail) == 0) {
                m.what.erase(m.what.size() - tail.size());
                break;
            }
        }
    } else if (text.compare(0, expecting.size(), expecting) == 0) {
        // Keywords hold no quotation marks; the token found may.
        const size_t gotAt = text.find(got, expecting.size());
        if (gotAt != std::string::npos && Quoted(text, gotAt + got.size(), &m.token)) {
            m.expecting = true;
            m.what = text.substr(expecting.size(), gotAt - expecting.size());
        }
    }
    return m;
}

// The item being read when the list's count ran out of items: the count is too high.
bool CountTooHigh(const ReadRecord::Failure& f, const Message& m, Diagnostic* error) {
    if (f.open.empty() || f.open.back().place.file != f.place.file) {
        return false;
    }
    const ReadRecord::List& list = f.open.back();
    // At the item's first token or two: its keyword, or a label inside it.
    if (f.token > list.itemToken + 2) {
        return false;
    }
    const ListKind kind = KindOf(list.label);
    const std::string& t = m.token;
    const bool endsList = t == "}" || t.empty() || IsSectionLabel(t) || t == "hitTest" ||
                          t == "extendMode" || t == "noOfChildren";
    const bool sectionEnds =
        kind.section && (IsSectionLabel(list.name) || list.name == "}" || list.name.empty());
    if (!(m.unknown || m.expecting) || !(endsList || sectionEnds)) {
        return false;
    }
    error->With(Diagnostic::Note(list.place.file, list.place.line,
                                 CountText(list) + " but " + std::to_string(list.done) + " " +
                                     (list.done == 1 ? kind.one + std::string(" follows")
                                                     : kind.many + std::string(" follow"))));
    return true;
}

// A list that has just ended, followed by one more of its items: the count is too low.
bool CountTooLow(const ReadRecord::Failure& f, const Message& m, Diagnostic* error) {
    const ReadRecord::List& list = f.lastEnded;
    if (!m.expecting || list.label.empty() || list.place.file != f.place.file ||
        f.token != list.endToken + 1) {
        return false;
    }
    const ListKind kind = KindOf(list.label);
    const bool another =
        (!m.token.empty() && m.token.back() == '{') ||
        (kind.section && (IsSectionLabel(m.what) || m.what == "}") && !IsSectionLabel(m.token)) ||
        (list.label == "noOfArgs" && !m.token.empty() && m.token[0] == '$');
    if (!another) {
        return false;
    }
    error->With(Diagnostic::Note(list.place.file, list.place.line,
                                 CountText(list) + " but more " + kind.many + " follow"));
    return true;
}

// A value or number read from the block's own "}" just before the error, or a number
// whose glued text became the token the error is about.
bool MissingValue(const ReadRecord& record, Diagnostic* error) {
    const ReadRecord::Failure& f = record.failure;
    if (record.forgiven.empty()) {
        return false;
    }
    const ReadRecord::Forgiveness& last = record.forgiven.back();
    if (last.place.file != f.place.file || last.text.empty()) {
        return false;
    }
    if (last.kind == ReadRecord::Forgiven::kGluedText && last.token + 1 == f.token) {
        error->With(Diagnostic::Note(
            last.place.file, last.place.line,
            "\"" + last.text + "\" is read as " + last.text.substr(0, last.number) + " and \"" +
                last.text.substr(last.number) +
                "\" as the next token: a whole number goes here, written alone"));
        return true;
    }
    if (last.text[0] != '}') {
        return false;
    }
    // The blocks around close one "}" early each, until a token that is no "}" comes.
    constexpr uint64_t kNearby = 8;  // tokens
    if (last.kind == ReadRecord::Forgiven::kNotANumber && f.token <= last.token + kNearby) {
        error->With(Diagnostic::Note(
            last.place.file, last.place.line,
            "a value is missing before this \"}\": the \"}\" is read as the value (0), and the "
            "block's end is looked for after it"));
        return true;
    }
    if (last.kind == ReadRecord::Forgiven::kLineSkipped && last.text[0] == '}') {
        std::string skipped = "the rest of this line";
        if (last.number > 0) {
            skipped += " and " + std::to_string(last.number) +
                       (last.number == 1 ? " more line" : " more lines");
        }
        error->With(Diagnostic::Note(last.place.file, last.place.line,
                                     "a number is missing before this \"}\": looking for one, "
                                     "the reader skipped " +
                                         skipped));
        return true;
    }
    return false;
}

void KeywordNotes(const ReadRecord::Failure& f, const Message& m, Diagnostic* error) {
    if (m.unknown && !f.keywords.empty()) {
        const std::string closest = Closest(m.token, f.keywords);
        const bool vowel = std::string("aeiou").find(m.what.substr(0, 1)) != std::string::npos;
        std::string text = closest.empty() ? "" : "did you mean \"" + closest + "\"? ";
        text += std::string(closest.empty() ? "a" : "A") + (vowel ? "n " : " ") + m.what +
                (m.what == "combine mode" ? " is one of:" : " block starts with one of:");
        for (const std::string& keyword : f.keywords) {
            text += " " + keyword;
        }
        error->With(Diagnostic::Note(f.place.file, f.place.line, text));
        return;
    }
    if (m.expecting && IsSectionLabel(m.what) && IsSectionLabel(m.token)) {
        std::string order;
        for (const char* label :
             {"noOfGeometries", "noOfBrushes", "noOfImages", "noOfTransforms", "noOfChildZels",
              "noOfExecutables", "noOfControllers", "noOfAnimations"}) {
            order += std::string(order.empty() ? "" : " ") + label;
        }
        error->With(Diagnostic::Note(
            f.place.file, f.place.line,
            "every section is written, in this order, with its count also when it is 0: " + order));
        return;
    }
    if (m.expecting && m.what == "font") {
        error->With(Diagnostic::Note(
            f.place.file, f.place.line,
            "a text is one token, so it ends at the first space and \"" + m.token +
                "\" is read where \"font\" belongs: write each space of a text as a no-break "
                "space (U+00A0), which draws as a space"));
        return;
    }
    if (m.expecting && !m.token.empty() && !Closest(m.token, {m.what}).empty()) {
        error->With(Diagnostic::Note(f.place.file, f.place.line,
                                     "did you mean \"" + m.what +
                                         "\"? keywords are written exactly, with their case "
                                         "and their brace against them"));
    }
}

}  // namespace

Diagnostic LoadError(const std::string& document, const std::string& engineText,
                     const ReadRecord& record) {
    std::string message = engineText;
    std::vector<Located> chain = SplitChain(&message);
    // The innermost file named: a file that cannot be opened has none of its own.
    Located at{document, 0};
    size_t primary = chain.size();
    for (size_t i = chain.size(); i-- > 0;) {
        if (!chain[i].file.empty()) {
            at = chain[i];
            primary = i;
            break;
        }
    }
    Diagnostic error = Diagnostic::Error(at.file, at.line, message);
    const ReadRecord::Failure& f = record.failure;
    if (f.raised && f.message == message) {
        const Message m = Parse(message);
        if (!MissingValue(record, &error) && !CountTooHigh(f, m, &error) &&
            !CountTooLow(f, m, &error)) {
            KeywordNotes(f, m, &error);
        }
    }
    for (size_t i = primary; i-- > 0;) {
        if (chain[i].file.empty()) {
            continue;
        }
        error.With(
            Diagnostic::Note(chain[i].file, chain[i].line, "in the child document loaded here"));
    }
    return error;
}

}  // namespace ZEL
