#pragma once
#include <string>

namespace ZEL::Embed {

// The text zel_last_error returns: per thread, kept until that thread's next failure.
// Never throws: without memory for the text it holds the engine's out-of-memory text.
void SetLastError(const std::string& text) noexcept;
void SetLastError(const char* text) noexcept;
const char* LastError() noexcept;

}  // namespace ZEL::Embed
