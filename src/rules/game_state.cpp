// The players and the game-level flags, and how a game and a turn begin.
#include "rules/game_state.h"
#include <string.h>
#include "rules/table_state.h"

PlayerRecord players[2];
int current_player = 0;
int player_count = 1;
int table_number = NO_GAME;
int new_game_requested = 0;
int exit_requested = 0;

void set_start_values(void) {
    player_count = 1;
    exit_requested = 0;
    table.table_over = 0;
    new_game_requested = 0;
    memset(players[0].name, 0, sizeof players[0].name);
    memset(players[1].name, 0, sizeof players[1].name);
    strncpy(players[0].name, "Player 1", 19);
    strncpy(players[1].name, "Player 2", 19);
}

void start_new_game(void) {
    players[1].score = 0;
    current_player = 0;
    players[0].score = 0;
    table_number = 1;
    new_game_requested = 0;
}

void pass_turn(void) {
    if (player_count == 2 && current_player == 0) {
        current_player = 1;
        return;
    }
    current_player = 0;
    table_number++;
}
