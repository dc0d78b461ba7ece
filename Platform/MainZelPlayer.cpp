#include "Core/IFactory.h"
#include "Platform/Host.h"
#include "Platform/SdlOsLayer.h"

int main() {
    ZEL::SdlOsLayer os(ZEL::PlayerKind::FullScreen);
    return ZEL::RunHost(os, &ZEL::GetFactory);
}
