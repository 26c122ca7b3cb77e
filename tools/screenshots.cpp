// Makes the README's pictures: every screen of the game, drawn headless by
// the real code on the virtual clock, written as PNG into the folder given.
// Usage: og_screenshots DIR   (run from anywhere; needs ImageMagick's convert)
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include "draw/table_screen.h"
#include "harness.h"
#include "screens/main_menu.h"
#include "draw/backdrop.h"
#include "screens/player_menu.h"
#include "rules/high_scores.h"
#include "screens/name_entry.h"
#include "rules/name_grid.h"
#include "rules/game_state.h"
#include "game/game_flow.h"
#include "platform/platform.h"
#include "platform/seam.h"
#include "rules/deck.h"
#include "screens/animate.h"
#include "rules/table_state.h"

static std::string out_dir;
static const char *shot_name = nullptr;  // taken at the next presented frame
static int frames_left = 0;

// The screen as PNG, through a BMP that ImageMagick's convert turns over.
static void shoot(const char *name) {
    std::string path = out_dir + "/" + name + ".png";
    SDL_SaveBMP(screen, (path + ".bmp").c_str());
    std::string command = "convert '" + path + ".bmp' '" + path + "' 2>/dev/null && rm -f '" + path + ".bmp'";
    printf("%s\n", system(command.c_str()) == 0 ? path.c_str() : "");
}

// A script that went wrong would leave a screen waiting for ever.
static Uint32 give_up_at = 0;
static void give_up_when_late(void) {
    if ((Sint32)(now_ms() - give_up_at) > 0 && !exit_requested) {
        fprintf(stderr, "a screen did not end in time (%s)\n", shot_name ? shot_name : "-");
        exit_requested = 1;
    }
}

static void shoot_after_frames(void) {
    if (shot_name && --frames_left == 0) {
        shoot(shot_name);
        shot_name = nullptr;
    }
}

// A table some way into play: gaps, a chosen card, the cursor on a free one.
static void lay_out_table_in_play(void) {
    int deck[52];
    shuffle_deck(deck);
    for (int i = 0; i < SLOT_CELLS; i++)
        table.table_slots[i] = deck[i];
    const int taken[] = {28, 29, 31, 22, 24, 17, 26, 32};
    for (int s : taken)
        table.table_slots[s] = 0;
    for (int i = 34 + 13; i < SLOT_CELLS; i++)
        table.table_slots[i] = 0;
    table.stock_count = 13;
    table.cursor_slot = 30;
    table.selected_first = 23;
    table.selected_second = NO_SLOT;
    table.time_left = 840;
    table.pair_bonus = 430;
    table.equal_pairs = 2;
    table.adjacent_pairs = 2;
    player_count = 1;
    players[0].score = 6130;
    table_number = 2;
}

static void fill_high_scores(void) {
    const struct {
        const char *name;
        int score;
    } rows[] = {{"Gorvel", 52000}, {"Marta", 47300}, {"Eve", 42600},  {"Ines", 37900},
                {"Tobiah", 33200}, {"Ula", 28500},   {"Rafe", 23800}, {"Player 2", 19100},
                {"Odile", 14400},  {"Kit", 9700}};
    for (int i = 0; i < 10; i++) {
        memset(high_scores[i].name, 0, sizeof high_scores[i].name);
        copy_name(high_scores[i].name, rows[i].name);
        high_scores[i].score = rows[i].score;
    }
}

// Runs the main menu, pressing the keys given one per 120 ms after a settle,
// takes the picture after `frames` frames (60 ms each), then walks down to
// Quit and quits.
static void menu_shot(const char *name, int frames, const SDLKey *keys, int key_count) {
    give_up_at = now_ms() + 30000;
    Uint32 at = now_ms() + 200;
    for (int i = 0; i < key_count; i++, at += 120)
        tap_key(at, keys[i], 60);
    at = now_ms() + 60 * frames + 200;
    tap_key(at, SDLK_UP, 60);  // with no game in progress, up from New game is Quit
    tap_key(at + 120, SDLK_SPACE, 60);
    shot_name = name;
    frames_left = frames;
    plat_frame_hook = shoot_after_frames;
    run_main_menu();
    plat_frame_hook = nullptr;
}

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    // The harness moves into a scratch directory of its own.
    char absolute[PATH_MAX];
    if (!realpath(argv[1], absolute)) {
        perror(argv[1]);
        return 2;
    }
    out_dir = absolute;
    harness_start(7);
    give_up_at = now_ms() + 60000;
    plat_poll_hook = give_up_when_late;
    fill_high_scores();

    // The main menu (title panel), then the high scores and instructions.
    table_number = -1;
    menu_shot("main_menu", 4, nullptr, 0);
    exit_requested = 0;
    const SDLKey scores_keys[] = {SDLK_DOWN, SDLK_SPACE, SDLK_UP};
    menu_shot("high_scores", 16, scores_keys, 3);
    exit_requested = 0;
    const SDLKey how_keys[] = {SDLK_DOWN, SDLK_DOWN, SDLK_SPACE, SDLK_UP, SDLK_UP};
    menu_shot("instructions", 18, how_keys, 5);
    exit_requested = 0;

    // The player-count menu, two players chosen.
    player_count = 1;
    give_up_at = now_ms() + 30000;
    tap_key(now_ms() + 200, SDLK_RIGHT, 60);
    tap_key(now_ms() + 600, SDLK_SPACE, 60);
    shot_name = "player_count";
    frames_left = 8;
    plat_frame_hook = shoot_after_frames;
    run_player_count_menu();
    plat_frame_hook = nullptr;

    // A table in play, then the end of a cleared table counting its bonus.
    lay_out_table_in_play();
    draw_table(OVERLAY_NONE);
    shoot("table");
    for (int s = 0; s < TABLE_SLOTS; s++)
        table.table_slots[s] = 0;
    table.cursor_slot = WASTE_SLOT;
    table.selected_first = NO_SLOT;
    table.time_left = 370;
    table.stock_count = 9;
    players[0].score = 31650;
    draw_table(OVERLAY_CLEARED);
    shoot("bonus_count");

    // The end of a two-player game, then name entry with a name half typed.
    lay_out_table_in_play();
    player_count = 2;
    players[0].score = 24150;
    players[1].score = 29800;
    draw_table(OVERLAY_GAMEOVER);
    shoot("winner");
    player_count = 1;
    players[0].score = 41250;
    const SDLKey typing[] = {SDLK_RIGHT, SDLK_RIGHT, SDLK_RIGHT, SDLK_RIGHT, SDLK_SPACE,
                             SDLK_DOWN,  SDLK_DOWN,  SDLK_DOWN,  SDLK_SPACE};
    Uint32 at = now_ms() + 200;
    for (SDLKey key : typing) {
        tap_key(at, key, 60);
        at += 120;
    }
    tap_key(at + 400, SDLK_RETURN, 100);
    give_up_at = now_ms() + 30000;
    shot_name = "name_entry";
    frames_left = 22;
    plat_frame_hook = shoot_after_frames;
    run_name_entry(0);
    plat_frame_hook = nullptr;
    return exit_requested ? 1 : 0;
}
