// The player-count menu: one or two players for the game about to start.
#include "menus/player_menu.h"
#include "draw/overlay.h"
#include "draw/sprites.h"
#include "input/input.h"
#include "input/sound.h"
#include "menus/backdrop.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/platform.h"

static void draw_player_frame(void) {
    plat_delay(50);
    draw_menu_backdrop();
    set_font(assets.font2);
    draw_text(200, 38, screen, "Number of");
    draw_text(200, 50, screen, "Players?");
    draw_image(200, 75, assets.button_player1, screen);
    draw_image(250, 75, assets.button_player2, screen);
    draw_image(player_count == 1 ? 230 : 280, 85, assets.selector, screen);
    draw_volume_overlay(screen, assets.font3);
    if (plat_flip() == -1)
        fatal_error("Error in SDL_Flip");
}

void run_player_count_menu(void) {
    int done = 0;
    while (!done && !exit_requested) {
        draw_player_frame();
        poll_input();
        if (press_left || press_right) {
            press_left = press_right = 0;
            player_count = player_count == 1 ? 2 : 1;
            play_sound(assets.click3);
        }
        // The confirming press stays latched; the table's start clears it.
        if (press_action) {
            done = 1;
            play_sound(assets.click1);
        }
    }
}
