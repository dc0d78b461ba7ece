#pragma once
#include <cstdint>
#include <string>

#include "Gfx/Matrix.h"

namespace ZEL {

// Result codes shared by IFactory and IScenimator.
enum ResultCode : int {
    kSuccess = 0,
    kLogicError = 1,  // every reader error is one
    kOutOfMemory = 2,
    kNotFound = 3,      // a named variable or animation does not exist (documents only)
    kRuntimeError = 4,  // also any other exception
};

// A loaded animation document. No exception crosses this interface: a non-zero result
// has set the text that GetErrorText returns; a zero result never clears it.
class IScenimator {
  public:
    virtual ~IScenimator() = default;
    virtual int ReadVariable(const std::string& name, float* value) = 0;
    virtual int WriteVariable(const std::string& name, float value) = 0;
    virtual int Render(const Gfx::Matrix3x2& base, Gfx::Matrix3x2* top) = 0;
    // time: a raw 32-bit millisecond tick reading.
    virtual int Update(uint32_t time) = 0;
    virtual int HitTest(int32_t x, int32_t y, bool* hit) = 0;
    virtual int PlayAnimation(const std::string& name, uint32_t time) = 0;
    virtual const std::string& GetErrorText() const = 0;
};

}  // namespace ZEL
