// One table from the deal to its end: the ready banner, the loop of input
// and 90 ms ticks, the time-up banner, the bonus and the change of turn.
#include "table/table_loop.h"
#include "draw/table_screen.h"
#include "input/input.h"
#include "shell/game.h"
#include "shell/platform.h"
#include "table/bonus.h"
#include "table/controls.h"
#include "table/deal.h"
#include "table/table_state.h"

enum {
    FULL_STOCK = 18, FIRST_CURSOR = 30,
    BONUS_GRACE = 20, BONUS_DECAY = 10, BONUS_FLOOR = 4,
    BANNER_MS = 2000
};

void count_tick(void) {
    table.last_tick_ms = table.now_ms;
    table.idle_ticks++;
    if (table.idle_ticks > BONUS_GRACE && table.pair_bonus > BONUS_FLOOR)
        table.pair_bonus -= BONUS_DECAY;
    table.time_left--;
}

int tick_due(void) {
    // The difference is taken unsigned and read back signed, so a clock that
    // wraps past 2^31 ms neither overflows nor stops the timer.
    return (Sint32)((Uint32)table.now_ms - (Uint32)table.last_tick_ms) > TICK_MS;
}

void start_table(void) {
    table.time_left = TABLE_TIME;
    table.table_over = 0;
    table.idle_ticks = 0;
    reset_input();
    table.selected_first = NO_SLOT;
    table.cursor_slot = NO_SLOT;
    table.selected_second = NO_SLOT;
    table.takescore_armed = 0;
    table.adjacent_pairs = 0;
    table.equal_pairs = 0;
    shuffle_and_deal();
    table.cursor_slot = FIRST_CURSOR;
    table.selected_first = NO_SLOT;
    table.selected_second = NO_SLOT;
    Sint32 t = (Sint32)plat_ticks();
    table.stock_count = FULL_STOCK;
    table.last_tick_ms = t;
    table.pair_bonus = BONUS_START;
    table.moving2_active = 0;
    table.now_ms = t;
    table.moving_active = 0;
    animate_for(BANNER_MS, OVERLAY_READY);
    // Nothing pressed during the deal or the banner may act on the table.
    reset_input();
}

static void pass_turn(void) {
    if (player_count == 2 && current_player == 0) {
        current_player = 1;
        return;
    }
    current_player = 0;
    table_number++;
}

// One pass after the input: the tick that is due, then the time-up check.
// Returns 1 when the time ran out. A table cleared or taken in this very
// pass is already over: its last tick still counts, but it ends as cleared
// or taken and keeps its bonus.
static int keep_time(void) {
    table.now_ms = (Sint32)plat_ticks();
    if (exit_requested)
        return 0;
    if (tick_due()) {
        count_tick();
        draw_table(OVERLAY_NONE);
    }
    if (table.time_left > 0 || table.table_over)
        return 0;
    table.table_over = 1;
    animate_for(BANNER_MS, OVERLAY_TIMESUP);
    return 1;
}

void play_table(void) {
    start_table();
    draw_table(OVERLAY_NONE);
    // The clock starts only now: the deal and the banner cost no time.
    table.last_tick_ms = (Sint32)plat_ticks();
    int timed_out = 0;
    while (!table.table_over && !new_game_requested) {
        if (exit_requested)
            return;
        poll_input();
        table_input();
        timed_out = keep_time();
    }
    if (exit_requested || new_game_requested)
        return;
    if (!timed_out)
        award_table_bonus();
    pass_turn();
}
