// The player-count menu, run by the main menu after New game.
#pragma once

void run_player_count_menu(void);
