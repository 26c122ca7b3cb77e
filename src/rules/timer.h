// The table's clock: 90 ms ticks and the pair bonus that decays with them.
#pragma once
#include <stdint.h>

// 1 when now_ms lies more than 90 ms after the last tick. Called by the
// table loop on every pass.
int tick_due(void);
// The first time at which tick_due holds: what an idle table loop waits for.
uint32_t next_tick_at(void);
// One timer tick at now_ms: restarts the 90 ms, counts the idle tick, lets
// the pair bonus decay after 20 idle ticks, and takes one from time_left.
// Called by the table loop when tick_due holds.
void count_tick(void);
