#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ZEL {

// One line of a check's report, in the form compilers use, so that editors jump to it:
// "FILE:LINE: error: TEXT", or "FILE: error: TEXT" for the file as a whole.
struct Diagnostic {
    enum class Severity { kError, kWarning, kNote };

    Severity severity = Severity::kError;
    std::string file;
    int32_t line = 0;  // 0: no line
    std::string text;
    std::vector<Diagnostic> notes;  // printed right after it, in order

    static Diagnostic Error(std::string file, int32_t line, std::string text);
    static Diagnostic Warning(std::string file, int32_t line, std::string text);
    static Diagnostic Note(std::string file, int32_t line, std::string text);
    Diagnostic& With(Diagnostic note) {
        notes.push_back(std::move(note));
        return *this;
    }
};

// The diagnostic's own line, without its notes.
std::string FormatLine(const Diagnostic& diagnostic);

}  // namespace ZEL
