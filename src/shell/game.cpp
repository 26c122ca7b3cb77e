// The game flow: the main menu, the tables of a game for one or two players,
// the final screen and the name entries, until the player quits.
#include "shell/game.h"
#include "draw/table_screen.h"
#include "input/input.h"
#include "input/sound.h"
#include "menus/main_menu.h"
#include "scores/high_scores.h"
#include "scores/name_entry.h"
#include "shell/assets.h"
#include "shell/platform.h"
#include "table/table_loop.h"

PlayerRecord players[2];
int current_player = 0;
int player_count = 1;
int table_number = -1;
int new_game_requested = 0;
int exit_requested = 0;

enum { NO_GAME = -1, LAST_TABLE = 3, FINAL_SCREEN_MS = 5000 };

static void start_new_game(void) {
    players[1].score = 0;
    current_player = 0;
    players[0].score = 0;
    table_number = 1;
    new_game_requested = 0;
}

// Plays tables until the game is complete; returns 0 when the program is to
// end in the middle of it (nothing is scored or saved then).
static int play_game(void) {
    while (table_number <= LAST_TABLE) {
        if (new_game_requested)
            start_new_game();
        play_table();
        if (exit_requested)
            return 0;
    }
    return 1;
}

void run_game_flow(void) {
    while (!exit_requested) {
        table_number = NO_GAME;
        run_main_menu();
        if (exit_requested || !play_game())
            break;
        run_end_of_game();
    }
}

static int before(Uint32 deadline) { return (Sint32)(plat_ticks() - deadline) < 0; }

// A press ends the wait but stays latched for the next screen to clear. A
// closed window ends it too: nobody is left to look at it.
static void show_final_screen(Uint32 deadline) {
    while (!press_action && !hold_start && before(deadline) && !exit_requested) {
        poll_input();
        draw_table(OVERLAY_GAMEOVER);
    }
}

// The file is written after every entry, so a program ended by the second
// player's entry has already kept the first.
static void enter_name(int player) {
    run_name_entry(player);
    save_high_scores();
}

void run_end_of_game(void) {
    Uint32 deadline = plat_ticks() + FINAL_SCREEN_MS;
    if (player_count == 1) {
        if (score_qualifies(players[0].score)) {
            play_sound(assets.good);
            enter_name(0);
        } else {
            show_final_screen(deadline);
        }
        return;
    }
    play_sound(assets.good);
    show_final_screen(deadline);
    // Player 1 is judged against the table as player 0's entry left it.
    if (score_qualifies(players[0].score))
        enter_name(0);
    if (score_qualifies(players[1].score))
        enter_name(1);
}
