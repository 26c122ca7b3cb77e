// The table's clock and the decay of the pair bonus.
#include "rules/timer.h"
#include "platform/ticks.h"
#include "rules/table_state.h"

namespace {

enum { BONUS_GRACE = 20, BONUS_DECAY = 10, BONUS_FLOOR = 4 };

}  // namespace

void start_clock(int32_t t) { table.last_tick_ms = t; }

void note_pass_time(int32_t now) { table.now_ms = now; }

void restart_bonus(void) {
    table.pair_bonus = BONUS_START;
    table.idle_ticks = 0;
    table.last_tick_ms = table.now_ms;
}

int tick_due(void) { return tick_after((uint32_t)table.now_ms, (uint32_t)table.last_tick_ms + TICK_MS); }

uint32_t next_tick_at(void) { return (uint32_t)table.last_tick_ms + TICK_MS + 1; }

void count_tick(void) {
    table.last_tick_ms = table.now_ms;
    table.idle_ticks++;
    if (table.idle_ticks > BONUS_GRACE && table.pair_bonus > BONUS_FLOOR)
        table.pair_bonus -= BONUS_DECAY;
    table.time_left--;
}
