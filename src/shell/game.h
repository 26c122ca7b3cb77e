// Game-level state shared by the table, menus and scores, and the game flow
// that runs menus, tables and name entry until the player quits.
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

// Called once by the entry routine; returns when exit_requested is set.
void run_game_flow(void);
// After the third table: final screen and name entries, saving after each.
void run_end_of_game(void);
