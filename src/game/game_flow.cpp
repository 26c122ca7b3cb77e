// The game flow: the main menu, the tables of a game for one or two players,
// the final screen and the name entries, until the player quits.
#include "game/game_flow.h"
#include "draw/table_screen.h"
#include "game/scores_file.h"
#include "input/input.h"
#include "platform/assets.h"
#include "platform/audio.h"
#include "platform/platform.h"
#include "platform/ticks.h"
#include "platform/x11.h"
#include "rules/game_state.h"
#include "rules/high_scores.h"
#include "screens/main_menu.h"
#include "screens/name_entry.h"
#include "screens/table_loop.h"

namespace {

enum { FINAL_SCREEN_MS = 5000 };

// Plays tables until the game is complete; returns 0 when the program is to
// end in the middle of it (nothing is scored or saved then).
int play_game(void) {
    while (table_number <= LAST_TABLE) {
        if (new_game_requested)
            start_new_game();
        play_table();
        if (exit_requested)
            return 0;
    }
    return 1;
}

// A face button, START or a tap anywhere.
int final_screen_pressed(void) { return press_action || hold_start || pointer_click.pending; }

// A press ends the wait at once, and stays latched for the next screen to
// clear. A closed window ends it too: nobody is left to look at it. No frame
// is begun that would not be shown before the deadline, judged by the
// longest one yet (a frame held back by the frame rate costs next to nothing).
void show_final_screen(uint32_t deadline) {
    uint32_t frame_ms = FRAME_STEP_MS;
    while (!final_screen_pressed() && tick_after(deadline, plat_ticks()) && !exit_requested) {
        uint32_t step_end = plat_earliest(plat_ticks() + FRAME_STEP_MS, deadline);
        poll_input();
        if (final_screen_pressed())
            break;
        uint32_t began = plat_ticks();
        if (!tick_after(began + frame_ms, deadline)) {
            draw_table(OVERLAY_GAMEOVER);
            uint32_t took = plat_ticks() - began;
            frame_ms = took > frame_ms ? took : frame_ms;
        }
        plat_wait_until(step_end);
    }
}

// A display lost in the middle of an entry keeps the name as it stands, as
// a failed flip does, before the program ends.
void keep_entry(void) {
    if (accept_running_entry())
        save_high_scores();
}

// The file is written after every entry, so a program ended by the second
// player's entry has already kept the first.
void enter_name(int player) {
    plat_set_last_words(keep_entry);
    run_name_entry(player);
    plat_set_last_words(nullptr);
    save_high_scores();
}

}  // namespace

void run_game_flow(void) {
    while (!exit_requested) {
        table_number = NO_GAME;
        run_main_menu();
        if (exit_requested || !play_game())
            break;
        run_end_of_game();
    }
}

void run_end_of_game(void) {
    uint32_t deadline = plat_ticks() + FINAL_SCREEN_MS;
    if (player_count == 1) {
        if (score_qualifies(players[0].score)) {
            play_sound(SOUND_GOOD);
            enter_name(0);
        } else {
            show_final_screen(deadline);
        }
        return;
    }
    play_sound(SOUND_GOOD);
    show_final_screen(deadline);
    // Player 1 is judged against the table as player 0's entry left it.
    if (score_qualifies(players[0].score))
        enter_name(0);
    if (score_qualifies(players[1].score))
        enter_name(1);
}
