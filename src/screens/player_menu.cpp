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
#include "screens/menu_loop.h"

namespace {

enum {
    QUESTION_X = 200, QUESTION_Y = 38, QUESTION_Y2 = 50,
    BUTTON_Y = 75, SELECTOR_Y = 85
};

// One button per player count, side by side, the selector beside the chosen.
struct CountButton {
    int x;
    Image *const *image;
    int selector_x;
};
const CountButton count_buttons[2] = {{200, &assets.button_player1, 230}, {250, &assets.button_player2, 280}};

void draw_player_frame(void) {
    draw_menu_backdrop();
    set_font(assets.font2);
    draw_text(QUESTION_X, QUESTION_Y, screen, "Number of");
    draw_text(QUESTION_X, QUESTION_Y2, screen, "Players?");
    for (const CountButton &b : count_buttons)
        draw_image(b.x, BUTTON_Y, *b.image, screen);
    draw_image(count_buttons[player_count - 1].selector_x, SELECTOR_Y, assets.selector, screen);
}

// The player count whose button a click lies on, or -1.
int count_at(int x, int y) {
    for (int i = 0; i < 2; i++)
        if (image_covers(*count_buttons[i].image, count_buttons[i].x, BUTTON_Y, x, y))
            return i + 1;
    return -1;
}

}  // namespace

namespace {

int count_input(void) {
    if (press_left || press_right) {
        press_left = press_right = 0;
        player_count = player_count == 1 ? 2 : 1;
        play_sound(SOUND_CLICK3);
    }
    // A click moves the choice to its button and confirms it.
    int clicked = take_click(count_at);
    if (clicked > 0 && clicked != player_count) {
        player_count = clicked;
        play_sound(SOUND_CLICK3);
    }
    // The confirming press stays latched; the table's start clears it.
    if (!press_action && clicked < 0)
        return 0;
    play_sound(SOUND_CLICK1);
    return 1;
}

}  // namespace

void run_player_count_menu(void) { run_menu_loop(draw_player_frame, count_input); }
