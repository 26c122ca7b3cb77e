// One table from the deal to its end: the ready banner, the loop of input
// and 90 ms ticks, the time-up banner, the bonus and the change of turn.
#include "screens/table_loop.h"
#include "draw/table_screen.h"
#include "input/input.h"
#include "platform/platform.h"
#include "rules/game_state.h"
#include "rules/table_flow.h"
#include "rules/table_state.h"
#include "rules/timer.h"
#include "screens/animate.h"
#include "screens/bonus_count.h"
#include "screens/table_controls.h"

namespace {

enum { BANNER_MS = 2000 };

enum { NOTHING, TICKED, TIMED_OUT };

// One pass after the input: the tick that is due, then the time-up check.
// A table cleared or taken in this very pass is already over: its last
// tick still counts, but it ends as cleared or taken and keeps its bonus.
int keep_time(void) {
    note_pass_time((int32_t)plat_ticks());
    if (exit_requested || !tick_due())
        return NOTHING;
    count_tick();
    draw_table(OVERLAY_NONE);
    if (table.time_left > 0 || table.table_over)
        return TICKED;
    end_table();
    animate_for(BANNER_MS, OVERLAY_TIMESUP);
    end_animation();
    return TIMED_OUT;
}

}  // namespace

void start_table(void) {
    prepare_table();
    reset_input();
    shuffle_and_deal();
    table_dealt((int32_t)plat_ticks());
    animate_for(BANNER_MS, OVERLAY_READY);
    end_animation();
    // Nothing pressed during the deal or the banner may act on the table.
    reset_input();
}

void play_table(void) {
    start_table();
    draw_table(OVERLAY_NONE);
    // The clock starts only now: the deal and the banner cost no time.
    start_clock((int32_t)plat_ticks());
    int time = NOTHING;
    while (!table.table_over && !new_game_requested) {
        if (exit_requested)
            return;
        poll_input();
        int pressed = input_pending();
        table_input();
        time = keep_time();
        // Nothing to do until the next tick or a key: the handheld polls on,
        // the desktop sleeps.
        if (!pressed && time == NOTHING)
            plat_idle_until(plat_earliest(next_tick_at(), input_next_deadline()));
    }
    if (exit_requested || new_game_requested)
        return;
    if (time != TIMED_OUT)
        award_table_bonus();
    pass_turn();
}
