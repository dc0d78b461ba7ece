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
    // slot: where the domain keeps the variable, resolved once so a read is a load, not a
    // lookup by name; it must live as long as the value (the document's variable store).
    ValueD(std::string variable, IScenimator* domain, const float* slot)
        : m_Name(std::move(variable)), m_Domain(domain), m_Slot(slot) {}

    // Throws a logic error with the document's text when the variable is missing.
    float Get() const { return m_Slot ? *m_Slot : Lookup(); }
    bool IsBound() const { return !m_Name.empty(); }
    const std::string& Name() const { return m_Name; }

  private:
    float Lookup() const;

    float m_Value = 0;
    std::string m_Name;  // with its leading "$"; empty for a literal
    IScenimator* m_Domain = nullptr;
    const float* m_Slot = nullptr;
};

}  // namespace ZEL
