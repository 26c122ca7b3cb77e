// PLACEHOLDER until the game flow lands: game-level state only.
#include "shell/game.h"

PlayerRecord players[2];
int current_player = 0;
int player_count = 1;
int table_number = -1;
int new_game_requested = 0;
int exit_requested = 0;

void run_game_flow(void) {}
void run_end_of_game(void) {}
