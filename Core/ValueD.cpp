#include "Core/ValueD.h"

#include <cassert>
#include <stdexcept>

#include "Core/IScenimator.h"

namespace ZEL {

float ValueD::Lookup() const {
    if (m_Name.empty()) {
        return m_Value;
    }
    assert(m_Domain != 0 && "m_Domain != 0");
    float result = 0;
    if (m_Domain->ReadVariable(m_Name, &result) != kSuccess) {
        throw std::logic_error(m_Domain->GetErrorText());
    }
    return result;
}

}  // namespace ZEL
