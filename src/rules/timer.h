// The table's clock: 90 ms ticks and the pair bonus that decays with them.
#pragma once
#include <stdint.h>

// The clock starts, or starts again, its 90 ms phase at t. Called as the
// table is dealt and again as play begins, after the ready banner.
void start_clock(int32_t t);
// The time of this pass of the table loop, read after its input.
void note_pass_time(int32_t now);
// 1 when now_ms lies more than 90 ms after the last tick. Called by the
// table loop on every pass.
int tick_due(void);
// The first time at which tick_due holds: what an idle table loop waits for.
uint32_t next_tick_at(void);
// A pair or a stock press: the bonus back at its start, its idle count from
// zero, and the tick phase from the last pass.
void restart_bonus(void);
// One timer tick at now_ms: restarts the 90 ms, counts the idle tick, lets
// the pair bonus decay after 20 idle ticks, and takes one from time_left.
// Called by the table loop when tick_due holds.
void count_tick(void);
