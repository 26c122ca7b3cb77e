// Olvane Gorvel: a timed card solitaire for a 320x240 handheld.
#include <stdio.h>
#include "draw/backdrop.h"
#include "draw/sprites.h"
#include "game/game_flow.h"
#include "game/scores_file.h"
#include "input/input.h"
#include "platform/assets.h"
#include "platform/platform.h"
#include "rules/game_state.h"

int main(int, char **) {
    puts("\n\nOlvane Gorvel");
    fputs(VERSION_LABEL, stdout);
    puts("\n");
    load_high_scores();
    volume_shown_until = 0;
    init_platform();
    set_start_values();
    if (load_assets() != 1)
        fatal_error("Error loading data");
    set_font(assets.font1);
    run_game_flow();
    shutdown_platform();
    return 0;
}
