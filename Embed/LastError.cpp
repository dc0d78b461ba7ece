#include "Embed/LastError.h"

#include <new>

namespace ZEL::Embed {
namespace {

struct ErrorSlot {
    std::string text;
    const char* view = "";  // text, or a fixed string when copying it failed
};

thread_local ErrorSlot t_Error;

}  // namespace

void SetLastError(const std::string& text) noexcept {
    try {
        t_Error.text = text;
        t_Error.view = t_Error.text.c_str();
    } catch (...) {
        t_Error.view = "std::bad_alloc";
    }
}

void SetLastError(const char* text) noexcept {
    try {
        SetLastError(std::string(text));
    } catch (...) {
        t_Error.view = "std::bad_alloc";
    }
}

const char* LastError() noexcept {
    return t_Error.view;
}

}  // namespace ZEL::Embed
