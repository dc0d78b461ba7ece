#include "Platform/SdlErrorBox.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace ZEL {

namespace {

constexpr int kNotShown = 3;  // the child's exit code when SDL could not show the box

volatile sig_atomic_t g_BoxGroup = 0;  // process group of the box, 0 before it exists

// SDL's X11 box forks once more, so the whole group goes, not only the direct child.
void EndWithBox(int) {
    if (g_BoxGroup > 0) {
        kill(-g_BoxGroup, SIGKILL);
    }
    _exit(1);
}

struct SignalGuard {
    struct sigaction oldTerm {
    }, oldInt{};
    SignalGuard() {
        struct sigaction action {};
        action.sa_handler = EndWithBox;
        sigemptyset(&action.sa_mask);
        sigaction(SIGTERM, &action, &oldTerm);
        sigaction(SIGINT, &action, &oldInt);
    }
    ~SignalGuard() {
        sigaction(SIGTERM, &oldTerm, nullptr);
        sigaction(SIGINT, &oldInt, nullptr);
        g_BoxGroup = 0;
    }
};

[[noreturn]] void RunBox(const std::string& caption, const std::string& text, SDL_Window* owner) {
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
    setpgid(0, 0);
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), owner) != 0) {
        // SDL reports only that no box worked; under X11 the usual cause is a missing font.
        const char* driver = SDL_GetCurrentVideoDriver();
        const bool x11 = driver && SDL_strcmp(driver, "x11") == 0;
        std::fprintf(
            stderr, "the error box could not be shown: %s%s\n", SDL_GetError(),
            x11 ? " (on X11 it needs the X core fonts, such as Debian's xfonts-base)" : "");
        std::fflush(stderr);
        _exit(kNotShown);
    }
    _exit(0);
}

}  // namespace

bool ShowErrorBox(const std::string& caption, const std::string& text, SDL_Window* owner) {
    // Installed before the fork so that no signal falls between the two.
    SignalGuard guard;
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child < 0) {
        return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(),
                                        owner) == 0;
    }
    if (child == 0) {
        RunBox(caption, text, owner);
    }
    setpgid(child, child);  // also here: the handler may need the group before the child runs
    g_BoxGroup = child;
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace ZEL
