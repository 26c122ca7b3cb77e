// Start-up, shutdown and the fatal-error path of the program.
#include "shell/startup.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#include <SDL_mixer.h>
#include "input/input.h"
#include "input/sound.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/platform.h"
#include "table/table_state.h"

static const char LAUNCHER_DIR[] = "/usr/gp2x";
static const char LAUNCHER[] = "/usr/gp2x/gp2xmenu";

void print_banner(void) {
    puts("\n\nOlvane Gorvel");
    printf("v1.0");
    puts("\n");
}

void set_start_values(void) {
    player_count = 1;
    exit_requested = 0;
    table.table_over = 0;
    new_game_requested = 0;
    memset(players[0].name, 0, sizeof players[0].name);
    memset(players[1].name, 0, sizeof players[1].name);
    strncpy(players[0].name, "Player 1", 19);
    strncpy(players[1].name, "Player 2", 19);
}

void init_platform(void) {
    volume_shown_until = 0;
    if (SDL_Init(SDL_INIT_EVERYTHING) == -1)
        fatal_error("Unable to initialize SDL");
    SDL_ShowCursor(0);
    screen = SDL_SetVideoMode(320, 240, 16, 0);
    if (!screen)
        fatal_error("Unable to initialize video");
    SDL_WM_SetCaption("Olvane Gorvel", "Olvane Gorvel");
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024) != 0)
        fatal_error("Unable to initialize audio");
    set_default_volume();
    srand(plat_ticks() % 32000);
    if (SDL_NumJoysticks() > 0) {
        joystick = SDL_JoystickOpen(0);
        if (!joystick)
            fatal_error("Couldn't open joystick 0");
    }
    set_start_values();
}

void exec_launcher(void) {
    // The launcher replaces this process: whatever stdio still holds would
    // be lost with it.
    fflush(stdout);
    fflush(stderr);
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

void shutdown_platform(void) {
    free_assets();
    Mix_CloseAudio();
    SDL_Quit();
    exec_launcher();
}
