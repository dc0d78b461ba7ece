// --check: diagnostics for documents, in the form editors read (FILE:LINE: error: TEXT).
#include <iostream>
#include <memory>
#include <set>
#include <tuple>

#include "Check/DocumentCheck.h"
#include "Modes.h"

namespace ZEL {

namespace {

struct Checked {
    std::string path;
    std::unique_ptr<DocumentCheck> check;
    bool loaded = false;
};

}  // namespace

int RunCheck(const Options& o) {
    std::vector<Checked> checks;
    for (const std::string& path : o.documents) {
        DocumentCheck::Settings settings;
        settings.document = path;
        settings.start = o.start;
        settings.run = o.run;
        Checked c{path, std::make_unique<DocumentCheck>(settings)};
        c.loaded = c.check->Load();
        checks.push_back(std::move(c));
    }
    // A document that another one given loads is checked there, with what that one
    // writes into it and plays in it.
    std::set<std::string> children;
    for (const Checked& c : checks) {
        if (c.loaded) {
            for (const std::string& file : c.check->ChildFiles()) {
                children.insert(file);
            }
        }
    }
    bool errors = false, warnings = false;
    std::set<std::tuple<std::string, int32_t, std::string>> printed;
    for (Checked& c : checks) {
        if (c.loaded && children.count(FileIdentity(c.path))) {
            continue;
        }
        if (c.loaded) {
            c.check->Check();
        }
        for (const Diagnostic& d : c.check->Diagnostics()) {
            const bool error = d.severity == Diagnostic::Severity::kError;
            errors = errors || error;
            warnings = warnings || !error;
            if ((o.quiet && !error) || !printed.insert({d.file, d.line, d.text}).second) {
                continue;
            }
            std::cout << FormatLine(d) << '\n';
            for (const Diagnostic& note : d.notes) {
                std::cout << FormatLine(note) << '\n';
            }
        }
    }
    std::cout.flush();
    return errors ? 1 : warnings && o.strict ? 3 : 0;
}

}  // namespace ZEL
