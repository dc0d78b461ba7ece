#pragma once
#include <ostream>
#include <string>

namespace Import {

struct ImportRequest {
    std::string input;
    std::string output;            // default: the input with .scn for .svg
    std::string prefix;            // in front of every name
    std::string imagesDir;         // default: the output's folder
    double width = 0, height = 0;  // 0: the SVG's own size
};

// Imports one SVG file: writes the document (and the images it embeds) and prints one
// line per warning to errors. Returns 0, or 1 after printing "INPUT:LINE: error: ..."
// with nothing written.
int RunImport(const ImportRequest& request, std::ostream& errors);

// The output name a request gets when it names none: a.svg -> a.scn.
std::string DefaultOutput(const std::string& input);

}  // namespace Import
