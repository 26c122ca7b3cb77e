// The end-of-table bonus on the screen: a cleared table's prize, then the
// time left and the cards left in the stock counted into points.
#include "screens/bonus_count.h"
#include "draw/table_screen.h"
#include "platform/assets.h"
#include "platform/audio.h"
#include "rules/bonus.h"
#include "rules/game_state.h"
#include "rules/pairs.h"
#include "rules/table_state.h"
#include "screens/animate.h"

namespace {

enum { CLEARED_MS = 1000, TIME_STEP_MS = 20, STOCK_STEP_MS = 250, CLOSING_MS = 2000 };

void count_time(int overlay) {
    while (table.time_left > 0 && !exit_requested) {
        score_time_step();
        play_sound(SOUND_CLICK3);
        animate_for(TIME_STEP_MS, overlay);
    }
}

void count_stock(void) {
    while (table.stock_count > 0 && !exit_requested) {
        score_stock_step();
        play_sound(SOUND_CHIME1);
        animate_for(STOCK_STEP_MS, OVERLAY_CLEARED);
    }
}

}  // namespace

// One animation from the prize to the end of the closing pause.
void award_table_bonus(void) {
    int cleared = table_cleared();
    if (cleared) {
        score_cleared_table();
        animate_for(CLEARED_MS, OVERLAY_CLEARED);
    }
    count_time(cleared ? OVERLAY_CLEARED : OVERLAY_NONE);
    if (cleared)
        count_stock();
    animate_for(CLOSING_MS, OVERLAY_NONE);
    end_animation();
}
