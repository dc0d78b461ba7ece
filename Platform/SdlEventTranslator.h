#pragma once
#include <SDL.h>

#include "Platform/Message.h"

namespace ZEL {

// Maps one SDL event onto the host's window message.
class SdlEventTranslator {
  public:
    static Message Translate(const SDL_Event& event);

  private:
    static Message TranslateWindowEvent(const SDL_WindowEvent& event);
    static Message SizeMessage(Uint32 windowId, SizeKind how);
};

}  // namespace ZEL
