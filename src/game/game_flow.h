// The game flow: menus, tables and name entry until the player quits.
#pragma once

// Called once by the entry routine; returns when exit_requested is set.
void run_game_flow(void);
// After the third table: final screen and name entries, saving after each.
// Called by run_game_flow.
void run_end_of_game(void);
