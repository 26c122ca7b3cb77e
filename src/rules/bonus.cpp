// What each step of the end-of-table bonus is worth.
#include "rules/bonus.h"
#include "rules/game_state.h"
#include "rules/table_state.h"

namespace {

enum { CLEARED_POINTS = 10000, TIME_STEP = 10, TIME_STEP_POINTS = 50, STOCK_CARD_POINTS = 1000 };

}  // namespace

void score_cleared_table(void) { players[current_player].score += CLEARED_POINTS; }

void score_time_step(void) {
    table.time_left = table.time_left > TIME_STEP ? table.time_left - TIME_STEP : 0;
    players[current_player].score += TIME_STEP_POINTS;
}

void score_stock_step(void) {
    players[current_player].score += STOCK_CARD_POINTS;
    table.stock_count--;
}
