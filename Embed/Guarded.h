#pragma once
#include <exception>
#include <new>

#include "Embed/LastError.h"
#include "zel/zel.h"

namespace ZEL::Embed {

// Runs op, which returns a zel result code, and turns any exception into a code and the
// thread's error text, so that nothing is thrown into C callers.
template <typename Op>
int Guarded(Op op) noexcept {
    try {
        return op();
    } catch (const std::bad_alloc& e) {
        SetLastError(e.what());
        return ZEL_OUT_OF_MEMORY;
    } catch (const std::exception& e) {
        SetLastError(e.what());
        return ZEL_RUNTIME_ERROR;
    } catch (...) {
        SetLastError("unknown error");
        return ZEL_RUNTIME_ERROR;
    }
}

// Records why an argument was refused and returns ZEL_BAD_ARGUMENT.
inline int BadArgument(const char* text) noexcept {
    SetLastError(text);
    return ZEL_BAD_ARGUMENT;
}

}  // namespace ZEL::Embed
