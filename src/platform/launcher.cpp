// The hand-back to the launcher, and the fatal-error path.
#include "platform/launcher.h"
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>
#include <SDL.h>

namespace {

const char LAUNCHER_DIR[] = "/usr/gp2x";
const char LAUNCHER[] = "/usr/gp2x/gp2xmenu";

}  // namespace

void exec_launcher(void) {
    // The launcher replaces this process: whatever stdio still holds would
    // be lost with it, and it should not inherit the ignored SIGPIPE that a
    // window on X11 needs.
    fflush(stdout);
    fflush(stderr);
    signal(SIGPIPE, SIG_DFL);
    if (chdir(LAUNCHER_DIR) != 0) {
        // Without the launcher's directory the launcher is not there either;
        // execl below fails and the caller's exit status applies.
    }
    execl(LAUNCHER, LAUNCHER, (char *)nullptr);
}

void fatal_error(const char *message) {
    // The message is data, never a format: a path with '%' prints as it is.
    fputs(message, stderr);
    fprintf(stderr, "\nSDL_GetError: %s\n", SDL_GetError());
    SDL_Quit();
    exec_launcher();
    exit(1);
}
