// One table from the deal to its end, with the 90 ms timer.
#pragma once

enum { TABLE_TIME = 1250, TICK_MS = 90, BONUS_START = 500 };

// One timer tick: the clock and the pair bonus's decay.
void count_tick(void);
void start_table(void);
void play_table(void);
