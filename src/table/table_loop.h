// One table from the deal to its end, with the 90 ms timer.
#pragma once

enum { TABLE_TIME = 1250, TICK_MS = 90, BONUS_START = 500 };

// One timer tick at now_ms: restarts the 90 ms, counts the idle tick, lets
// the pair bonus decay after 20 idle ticks, and takes one from time_left.
// Called by the table loop when tick_due holds.
void count_tick(void);
// 1 when now_ms lies more than 90 ms after the last tick.
int tick_due(void);
// Resets the record, deals, shows the ready banner for two seconds and
// discards input pressed meanwhile. Called by play_table.
void start_table(void);
// Plays one table for current_player; called by the game flow once per
// table. Returns early, without bonus or change of turn, when exit_requested
// or new_game_requested is set.
void play_table(void);
