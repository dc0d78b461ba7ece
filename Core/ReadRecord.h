#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace ZEL {

class IScenimator;
class Scenimator;

// A file as the reader names it and a line of it (1 for the first).
struct ReadPlace {
    std::string file;
    int32_t line = 0;
};

// What one load read and what it forgave, for checking documents (zelrender --check).
// A factory fills one only while one is attached; the players never attach one, and the
// reader reads exactly the same either way: it only writes down what it did.
struct ReadRecord {
    // Input the format accepts without complaint, though it is most likely a slip.
    enum class Forgiven {
        kNotANumber,       // a value that does not begin like a number reads as 0
        kLineSkipped,      // a count, flag or time that does not begin like a number
        kGluedText,        // text against a count or flag ("3}", "2.5"): the next token
        kIgnoredText,      // text against a value's number ("10}"): dropped with it
        kColorOutOfRange,  // a literal colour component outside 0..1
        kNegativeCount,    // a count below 0 reads no items
        kLostArgument,     // a child argument that names no variable of the child
        kUnreadText,       // text after the document's (or a source's geometry's) last "}"
        kBadExtendMode,    // an extend mode other than 0, 1, 2: the brush fails when drawn
    };
    struct Forgiveness {
        Forgiven kind;
        ReadPlace place;
        std::string text;  // the token, or the text dropped
        // kLineSkipped: lines dropped after the first; kGluedText, kIgnoredText: length of
        // the number in text; kColorOutOfRange: the component (0 red .. 3 alpha);
        // kNegativeCount: the count (text: its label); kUnreadText: 1 in a source file;
        // kBadExtendMode: the mode.
        int32_t number = 0;
        uint64_t token = 0;  // the index of the last token read, in the load
    };
    // A counted list ("noOfCommands 3") and how many of its items have been read.
    struct List {
        std::string label;
        int32_t count = 0;
        int32_t done = 0;
        ReadPlace place;         // of the count
        std::string name;        // sections: the name of the item being read
        uint64_t itemToken = 0;  // the last token read before that item (its name included)
        uint64_t endToken = 0;   // the last token read when the list ended
    };
    // The first parse error of the load and what the reader knew when it raised it.
    struct Failure {
        bool raised = false;
        ReadPlace place;
        std::string message;                // without "Parse Error:::", file and line
        uint64_t token = 0;                 // the last token read before it
        std::vector<List> open;             // the lists being read, innermost last
        List lastEnded;                     // the list that ended last (label empty when none)
        std::vector<std::string> keywords;  // the keywords the block may start with
    };

    std::vector<Forgiveness> forgiven;
    // Every object read (geometries, brushes, images, transforms, child documents,
    // executables and nested commands, controllers, animations), at its keyword.
    std::unordered_map<const void*, ReadPlace> places;
    // Where each document first reads each of its variables.
    std::map<std::pair<const Scenimator*, std::string>, ReadPlace> variables;
    // Each document's file as it was named, and the arguments its parent wrote into it.
    std::map<const IScenimator*, std::string> files;
    std::map<const IScenimator*, std::vector<std::string>> arguments;
    Failure failure;

    // The reader's own bookkeeping while it reads.
    uint64_t tokens = 0;
    std::vector<List> open;
    List lastEnded;
    std::vector<std::string> keywords;
};

}  // namespace ZEL
