// The main menu, also the pause screen of a table.
#pragma once

// Called by the game flow between games and by the table controls on START;
// the outcome is left in exit_requested, new_game_requested (then
// player_count holds the choice) or neither (Resume).
void run_main_menu(void);
// One frame of the menu over its backdrop, the selector at `chosen` (1
// Resume .. 5 Quit), not yet presented. Drawn by run_main_menu after each
// wait; the frame benchmark measures it.
void draw_main_menu(int chosen);
