#pragma once
#include <string>

namespace ZEL {

class IScenimator;

// A number of the document: a literal, or bound to a variable that is read at every use.
class ValueD {
public:
    ValueD() = default;
    explicit ValueD(float literal) : m_Value(literal) {}
    ValueD(std::string variable, IScenimator* domain)
        : m_Name(std::move(variable)), m_Domain(domain) {}

    // Throws a logic error with the document's text when the variable is missing.
    float Get() const;
    bool IsBound() const { return !m_Name.empty(); }
    const std::string& Name() const { return m_Name; }

private:
    float m_Value = 0;
    std::string m_Name;  // with its leading "$"; empty for a literal
    IScenimator* m_Domain = nullptr;
};

}  // namespace ZEL
