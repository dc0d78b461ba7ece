#pragma once
#include <SDL.h>

#include <string>

namespace ZEL {

// Shows SDL's modal message box in a child process and waits for it to be dismissed.
// While it waits, SIGTERM and SIGINT end the box and this process at once with exit code 1:
// in the same process SDL would only queue them as a quit event that nobody reads while the
// box is modal. Returns false when the box could not be shown (no display, no X core font);
// the child has then said why on standard error.
bool ShowErrorBox(const std::string& caption, const std::string& text, SDL_Window* owner);

}  // namespace ZEL
