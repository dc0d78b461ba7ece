#include "Check/ReadWarnings.h"

namespace ZEL {

namespace {

// Long dropped text is cut, so the warning stays one readable line.
std::string Quote(const std::string& text) {
    constexpr size_t kMax = 40;
    return "\"" + (text.size() > kMax ? text.substr(0, kMax) + "..." : text) + "\"";
}

std::string Text(const ReadRecord::Forgiveness& f) {
    using Forgiven = ReadRecord::Forgiven;
    static const char* const kComponents[] = {"red", "green", "blue", "alpha"};
    switch (f.kind) {
        case Forgiven::kNotANumber:
            if (f.text == "}") {
                return "\"}\" is read as a value here (0): the value before it is missing";
            }
            return Quote(f.text) + " is not a number or a $variable: it reads as 0";
        case Forgiven::kLineSkipped: {
            std::string text = Quote(f.text) +
                               " does not begin like a number: the reader skips the rest of the "
                               "line";
            if (f.number > 0) {
                text += " and " + std::to_string(f.number) +
                        (f.number == 1 ? " more line" : " more lines") + " looking for one";
            }
            return text;
        }
        case Forgiven::kGluedText:
            return Quote(f.text) + " is read as the number " + f.text.substr(0, f.number) +
                   " followed by the token " + Quote(f.text.substr(f.number));
        case Forgiven::kIgnoredText:
            return Quote(f.text) + " is read as " + f.text.substr(0, f.number) + ": " +
                   Quote(f.text.substr(f.number)) + " after the number is ignored";
        case Forgiven::kColorOutOfRange:
            return std::string("the ") + kComponents[f.number & 3] + " component " + f.text +
                   " lies outside 0..1";
        case Forgiven::kNegativeCount:
            return f.text + " " + std::to_string(f.number) + " reads no items";
        case Forgiven::kLostArgument:
            return "the child document never reads " + Quote(f.text) +
                   ": this argument changes nothing";
        case Forgiven::kUnreadText:
            return f.number == 1 ? "text after the geometry's closing \"}\" is never read: a "
                                   "source file holds one geometry"
                                 : "text after the document's closing \"}\" is never read";
        case Forgiven::kBadExtendMode:
            return "extendMode " + std::to_string(f.number) +
                   " is none of 0 (clamp), 1 (wrap), 2 (mirror): drawing with this brush fails";
    }
    return f.text;
}

}  // namespace

Diagnostic ForgivenWarning(const ReadRecord::Forgiveness& forgiven) {
    return Diagnostic::Warning(forgiven.place.file, forgiven.place.line, Text(forgiven));
}

}  // namespace ZEL
