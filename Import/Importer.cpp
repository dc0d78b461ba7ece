#include "Import/Importer.h"

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "Import/Converter.h"
#include "Import/SvgFile.h"

namespace Import {

namespace {

std::string Folder(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string Stem(const std::string& path) {
    const size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// Writes to a temporary name beside the target and renames it into place, so a reader
// never sees half a file.
bool WriteFile(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".tmp" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::string DefaultOutput(const std::string& input) {
    const std::string folder = Folder(input);
    return (folder.empty() ? "" : folder + "/") + Stem(input) + ".scn";
}

int RunImport(const ImportRequest& request, std::ostream& errors) {
    Diagnostics diagnostics(request.input);
    const std::string output =
        request.output.empty() ? DefaultOutput(request.input) : request.output;
    ConvertResult result;
    char inputPath[PATH_MAX], outputPath[PATH_MAX];
    if (realpath(request.input.c_str(), inputPath) && realpath(output.c_str(), outputPath) &&
        std::string(inputPath) == outputPath) {
        errors << diagnostics.ErrorText(ImportError(0, "the document would overwrite the SVG"))
               << "\n";
        return 1;
    }
    try {
        std::unique_ptr<Element> root = LoadSvgFile(request.input);
        ConvertOptions options;
        options.prefix = request.prefix;
        options.width = request.width;
        options.height = request.height;
        options.images.svgFolder = Folder(request.input);
        options.images.imagesDir = request.imagesDir.empty() ? Folder(output) : request.imagesDir;
        options.images.stem = Stem(output);
        result = Converter(*root, options, &diagnostics).Run();
    } catch (const ImportError& error) {
        for (const auto& warning : diagnostics.Warnings()) errors << warning << "\n";
        errors << diagnostics.ErrorText(error) << "\n";
        return 1;
    } catch (const std::bad_alloc&) {
        errors << diagnostics.ErrorText(ImportError(0, "out of memory")) << "\n";
        return 1;
    } catch (const std::exception& error) {
        errors << diagnostics.ErrorText(ImportError(0, error.what())) << "\n";
        return 1;
    }
    for (const auto& warning : diagnostics.Warnings()) errors << warning << "\n";
    std::vector<std::string> written;
    auto undo = [&written] {
        for (const auto& path : written) std::remove(path.c_str());
    };
    for (const auto& file : result.files) {
        if (!WriteFile(file.path, file.bytes)) {
            undo();
            errors << file.path << ": error: cannot write the image\n";
            return 1;
        }
        written.push_back(file.path);
    }
    if (!WriteFile(output, result.document)) {
        undo();
        errors << output << ": error: cannot write the document\n";
        return 1;
    }
    return 0;
}

}  // namespace Import
