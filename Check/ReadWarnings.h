#pragma once
#include "Check/Diagnostic.h"
#include "Core/ReadRecord.h"

namespace ZEL {

// What the reader forgave, said as a warning where it happened.
Diagnostic ForgivenWarning(const ReadRecord::Forgiveness& forgiven);

}  // namespace ZEL
