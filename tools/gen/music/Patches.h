#pragma once
#include "Patch.h"

namespace AssetGen {

// The song's instruments.
Patch padPatch();
Patch bassPulsePatch();
Patch bassHoldPatch();
Patch arpPatch();
Patch leadPatch();

}  // namespace AssetGen
