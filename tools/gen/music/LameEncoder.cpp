#include "LameEncoder.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

namespace AssetGen {

bool encodeMp3(const std::string& wavPath, const std::string& mp3Path) {
    // Constant 160 kbit/s joint stereo, no ReplayGain scan and no ID3 tag:
    // the output then depends on the samples alone and is byte-reproducible.
    std::vector<std::string> args = {"lame", "--quiet",        "-b",    "160",  "--cbr", "-m",
                                     "j",    "--noreplaygain", wavPath, mp3Path};
    std::vector<char*> argv;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        return false;
    }
    if (pid == 0) {
        execvp("lame", argv.data());
        std::perror("lame");
        _exit(127);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) < 0) {
        std::perror("waitpid");
        return false;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "lame failed (status %d)\n", status);
        return false;
    }
    return true;
}

}  // namespace AssetGen
