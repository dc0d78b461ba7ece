#include "Import/Diagnostics.h"

namespace Import {

void Diagnostics::Warn(int line, const std::string& kind, const std::string& key,
                       const std::string& text) {
    if (!m_Seen.insert({kind, key}).second) {
        return;
    }
    m_Warnings.push_back(m_FileName + ":" + std::to_string(line) + ": warning: " + text);
}

void Diagnostics::NotImported(int line, const std::string& what, const std::string& element) {
    Warn(line, what, element, what + " on \"" + element + "\" is not imported");
}

std::string Diagnostics::ErrorText(const ImportError& error) const {
    return m_FileName + ":" + std::to_string(error.Line()) + ": error: " + error.what();
}

}  // namespace Import
