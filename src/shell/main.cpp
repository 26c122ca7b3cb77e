// Olvane Gorvel: a timed card solitaire for a 320x240 handheld.
#include "draw/sprites.h"
#include "scores/high_scores.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/platform.h"
#include "shell/startup.h"

int main(int, char **) {
    print_banner();
    load_high_scores();
    init_platform();
    if (load_assets() != 1)
        fatal_error("Error loading data");
    set_font(assets.font1);
    run_game_flow();
    shutdown_platform();
    return 0;
}
