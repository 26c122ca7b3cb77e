// The game-level state that the table, the menus and the scores share: the
// players, whose turn it is, which table, and the two requests that end a
// game or the program. Plain data; nothing here touches SDL.
#pragma once
#include <stdint.h>

struct PlayerRecord {
    int32_t score;
    char name[20];  // NUL-terminated, at most 19 characters
};

extern PlayerRecord players[2];
extern int current_player;      // 0 or 1: whose table is played
extern int player_count;        // 1 or 2
extern int table_number;        // -1 no game, 1..3 playing, 4 complete
extern int new_game_requested;  // set by the main menu's New game
extern int exit_requested;      // every loop returns as soon as it is set

enum { NO_GAME = -1, LAST_TABLE = 3 };

// The start values of a run: one player, no request pending, no table over,
// the names "Player 1" and "Player 2". Called once by the entry routine at start-up.
void set_start_values(void);
// New game: both scores 0, player 1's turn at table 1, the request taken.
// Called by the game flow.
void start_new_game(void);
// After a table that ended normally: the other player's turn in a
// two-player game, else (and after player 2) the next table. Called by
// play_table.
void pass_turn(void);
