// The player-count menu, run by the main menu after New game.
#pragma once

// Leaves 1 or 2 in player_count; returns at once when exit_requested is set.
void run_player_count_menu(void);
