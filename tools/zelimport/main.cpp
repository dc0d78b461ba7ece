// zelimport: SVG artwork into a document that the players draw and a person can animate.
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "Import/Importer.h"

namespace {

const char kUsage[] =
    "usage: zelimport [-o OUT.scn] [--prefix NAME] [--size WxH] [--images DIR] INPUT.svg\n";

const char kHelp[] =
    "Writes INPUT.svg as a document (default: INPUT.scn beside it) that draws the SVG at its\n"
    "own size, or at --size fitted by its viewBox and preserveAspectRatio.\n"
    "\n"
    "  -o OUT.scn       the document to write\n"
    "  --prefix NAME    put NAME in front of every name in the document\n"
    "  --size WxH       draw at W x H pixels\n"
    "  --images DIR     write embedded images into DIR (default: beside the document)\n"
    "  --help           this text\n"
    "  --version        the version\n"
    "\n"
    "What cannot be brought over is reported as INPUT.svg:LINE: warning: ...; an SVG that\n"
    "cannot be read at all as INPUT.svg:LINE: error: ..., with exit code 1 and nothing\n"
    "written. See zelimport(1).\n";

bool ParseSize(const std::string& text, double* w, double* h) {
    char* end = nullptr;
    const long width = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || (*end != 'x' && *end != 'X'))
        return false;
    const char* rest = end + 1;
    const long height = std::strtol(rest, &end, 10);
    if (end == rest || *end != '\0' || width < 1 || height < 1 || width > 16384 || height > 16384) {
        return false;
    }
    *w = static_cast<double>(width);
    *h = static_cast<double>(height);
    return true;
}

int Usage(const std::string& problem) {
    std::cerr << "zelimport: " << problem << "\n" << kUsage;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Import::ImportRequest request;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= argc)
                return false;
            *out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage << "\n" << kHelp;
            return 0;
        } else if (arg == "--version") {
            std::cout << "zelimport " << ZEL_VERSION << "\n";
            return 0;
        } else if (arg == "-o") {
            if (!value(&request.output))
                return Usage("-o needs a file name");
        } else if (arg == "--prefix") {
            if (!value(&request.prefix))
                return Usage("--prefix needs a name");
            if (request.prefix.find_first_of(" \t\r\n\v\f{}$") != std::string::npos) {
                return Usage("--prefix may not hold white space, braces or $");
            }
        } else if (arg == "--size") {
            if (!value(&text) || !ParseSize(text, &request.width, &request.height)) {
                return Usage("--size needs WxH, each 1 to 16384");
            }
        } else if (arg == "--images") {
            if (!value(&request.imagesDir))
                return Usage("--images needs a folder");
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return Usage("unknown option " + arg);
        } else if (request.input.empty()) {
            request.input = arg;
        } else {
            return Usage("only one INPUT.svg");
        }
    }
    if (request.input.empty()) {
        return Usage("no INPUT.svg");
    }
    return Import::RunImport(request, std::cerr);
}
