#include "Core/IFactory.h"
#include "Platform/Host.h"
#include "Platform/SdlOsLayer.h"

int main() {
    ZEL::SdlOsLayer os(ZEL::PlayerKind::Window);
    return ZEL::RunHost(os, &ZEL::GetFactory);
}
