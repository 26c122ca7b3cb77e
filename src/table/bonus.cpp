// The end-of-table bonus: a cleared table's prize, then the time left and
// the cards left in the stock counted into points on screen.
#include "table/bonus.h"
#include "draw/table_screen.h"
#include "input/sound.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "table/deal.h"
#include "table/pairing.h"
#include "table/table_state.h"

enum {
    CLEARED_POINTS = 10000, CLEARED_MS = 1000,
    TIME_STEP = 10, TIME_STEP_POINTS = 50, TIME_STEP_MS = 20,
    STOCK_CARD_POINTS = 1000, STOCK_STEP_MS = 250,
    CLOSING_MS = 2000
};

int time_bonus_points(int time_left) {
    if (time_left <= 0)
        return 0;
    return TIME_STEP_POINTS * ((time_left + TIME_STEP - 1) / TIME_STEP);
}

int table_bonus_points(int cleared, int time_left, int stock_count) {
    int points = time_bonus_points(time_left);
    if (cleared)
        points += CLEARED_POINTS + STOCK_CARD_POINTS * (stock_count > 0 ? stock_count : 0);
    return points;
}

static void count_time(int overlay) {
    while (table.time_left > 0 && !exit_requested) {
        table.time_left = table.time_left > TIME_STEP ? table.time_left - TIME_STEP : 0;
        play_sound(assets.click3);
        players[current_player].score += TIME_STEP_POINTS;
        animate_for(TIME_STEP_MS, overlay);
    }
}

static void count_stock(void) {
    while (table.stock_count > 0 && !exit_requested) {
        players[current_player].score += STOCK_CARD_POINTS;
        table.stock_count--;
        play_sound(assets.chime1);
        animate_for(STOCK_STEP_MS, OVERLAY_CLEARED);
    }
}

void award_table_bonus(void) {
    int cleared = table_cleared();
    if (cleared) {
        players[current_player].score += CLEARED_POINTS;
        animate_for(CLEARED_MS, OVERLAY_CLEARED);
    }
    count_time(cleared ? OVERLAY_CLEARED : OVERLAY_NONE);
    if (cleared)
        count_stock();
    animate_for(CLOSING_MS, OVERLAY_NONE);
}
