// The loop of a menu: the wait, the frame, the input.
#include "screens/menu_loop.h"
#include "draw/overlay.h"
#include "input/input.h"
#include "platform/platform.h"
#include "rules/game_state.h"

void run_menu_loop(void (*draw)(void), int (*input)(void)) {
    int done = 0;
    while (!done && !exit_requested) {
        plat_delay(MENU_FRAME_MS);
        draw();
        present_frame(REFUSAL_FATAL);
        poll_input();
        done = input();
    }
}
