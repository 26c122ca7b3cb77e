// The player-count menu: one or two players for the game about to start.
#include "screens/player_menu.h"
#include "draw/backdrop.h"
#include "draw/overlay.h"
#include "draw/sprites.h"
#include "input/input.h"
#include "platform/assets.h"
#include "platform/audio.h"
#include "platform/platform.h"
#include "rules/game_state.h"

namespace {

enum {
    FRAME_MS = 50,
    QUESTION_X = 200, QUESTION_Y = 38, QUESTION_Y2 = 50,
    ONE_X = 200, TWO_X = 250, BUTTON_Y = 75,
    SELECTOR_ONE_X = 230, SELECTOR_TWO_X = 280, SELECTOR_Y = 85
};

void draw_player_frame(void) {
    plat_delay(FRAME_MS);
    draw_menu_backdrop();
    set_font(assets.font2);
    draw_text(QUESTION_X, QUESTION_Y, screen, "Number of");
    draw_text(QUESTION_X, QUESTION_Y2, screen, "Players?");
    draw_image(ONE_X, BUTTON_Y, assets.button_player1, screen);
    draw_image(TWO_X, BUTTON_Y, assets.button_player2, screen);
    draw_image(player_count == 1 ? SELECTOR_ONE_X : SELECTOR_TWO_X, SELECTOR_Y, assets.selector, screen);
    draw_volume_overlay(screen, assets.font3);
    if (plat_flip() == -1)
        fatal_error("Error in SDL_Flip");
}

}  // namespace

void run_player_count_menu(void) {
    int done = 0;
    while (!done && !exit_requested) {
        draw_player_frame();
        poll_input();
        if (press_left || press_right) {
            press_left = press_right = 0;
            player_count = player_count == 1 ? 2 : 1;
            play_sound(SOUND_CLICK3);
        }
        // The confirming press stays latched; the table's start clears it.
        if (press_action) {
            done = 1;
            play_sound(SOUND_CLICK1);
        }
    }
}
