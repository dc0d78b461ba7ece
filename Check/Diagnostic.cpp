#include "Check/Diagnostic.h"

namespace ZEL {

namespace {

Diagnostic Make(Diagnostic::Severity severity, std::string file, int32_t line, std::string text) {
    Diagnostic d;
    d.severity = severity;
    d.file = std::move(file);
    d.line = line;
    d.text = std::move(text);
    return d;
}

const char* Word(Diagnostic::Severity severity) {
    switch (severity) {
        case Diagnostic::Severity::kError:
            return "error";
        case Diagnostic::Severity::kWarning:
            return "warning";
        case Diagnostic::Severity::kNote:
            break;
    }
    return "note";
}

}  // namespace

Diagnostic Diagnostic::Error(std::string file, int32_t line, std::string text) {
    return Make(Severity::kError, std::move(file), line, std::move(text));
}

Diagnostic Diagnostic::Warning(std::string file, int32_t line, std::string text) {
    return Make(Severity::kWarning, std::move(file), line, std::move(text));
}

Diagnostic Diagnostic::Note(std::string file, int32_t line, std::string text) {
    return Make(Severity::kNote, std::move(file), line, std::move(text));
}

std::string FormatLine(const Diagnostic& d) {
    std::string out = d.file;
    if (d.line > 0) {
        out += ":" + std::to_string(d.line);
    }
    return out + ": " + Word(d.severity) + ": " + d.text;
}

}  // namespace ZEL
