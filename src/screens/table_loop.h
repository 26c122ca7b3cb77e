// One table from the deal to its end, with the 90 ms timer.
#pragma once

// Resets the record, deals, shows the ready banner for two seconds and
// discards input pressed meanwhile. Called by play_table.
void start_table(void);
// Plays one table for current_player; called by the game flow once per
// table. Returns early, without bonus or change of turn, when exit_requested
// or new_game_requested is set.
void play_table(void);
