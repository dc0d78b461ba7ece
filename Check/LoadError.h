#pragma once
#include <string>

#include "Check/Diagnostic.h"
#include "Core/ReadRecord.h"

namespace ZEL {

// A failed load as a check reports it: the engine's message where the engine's text points
// (the innermost file of a child document), then notes that say what most likely happened
// where the text points elsewhere, from what the reader recorded.
Diagnostic LoadError(const std::string& document, const std::string& engineText,
                     const ReadRecord& record);

}  // namespace ZEL
