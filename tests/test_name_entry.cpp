// Name entry: the cursor's wrapping, the effect of each pick, and the screen
// run headless from scripted keys through to the stored entry.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "harness.h"
#include "input/input.h"
#include "menus/main_menu.h"
#include "scores/high_scores.h"
#include "scores/name_entry.h"
#include "shell/game.h"
#include "shell/platform.h"

namespace {

int grid_index(char c) { return (int)(strchr(name_grid, c) - name_grid); }

// Picks each character of `keys` in turn, as the face button on that cell.
void pick_all(NameEntry *entry, const char *keys) {
    for (const char *k = keys; *k; k++) {
        entry->cursor = grid_index(*k);
        name_entry_pick(entry);
    }
}

// No test may hang on a loop that never ends: after this many frames every
// flip fails, which ends any screen.
int frames_left;
void frame_budget(void) {
    if (--frames_left == 0)
        plat_fail_flips = 1000;
}

void start_screen_test(int score) {
    harness_start();
    frames_left = 2000;
    plat_frame_hook = frame_budget;
    players[0].score = score;
    players[1].score = score / 2;
}

}  // namespace

TEST(NameGrid, CursorWrapsRoundRowsAndReadingOrder) {
    struct Case { char from; int move; char to; } cases[] = {
        {'A', GRID_UP, '@'},   {'@', GRID_DOWN, 'A'}, {'A', GRID_LEFT, '}'}, {'}', GRID_RIGHT, 'A'},
        {'N', GRID_LEFT, 'M'}, {'M', GRID_RIGHT, 'N'}, {'h', GRID_UP, 'U'},  {'!', GRID_DOWN, '}'},
    };
    for (const Case &c : cases)
        EXPECT_EQ(name_grid[name_cursor_step(grid_index(c.from), c.move)], c.to) << c.from << " " << c.move;
    EXPECT_EQ(strlen(name_grid), 78u);
    EXPECT_EQ(name_grid[5 * 13 + 10], ' ');
}

TEST(NameGrid, PicksTypeDeleteAndAccept) {
    struct Case { const char *old_name, *keys, *name; int untouched, accept; } cases[] = {
        {"Player 1", "", "Player 1", 1, 0},
        {"Player 1", "}", "Player 1", 1, 1},                // accepting at once keeps the old name
        {"Player 1", "Z", "Z", 0, 0},                       // the first character replaces it
        {"Player 1", "{", "", 0, 0},                        // the first delete clears it
        {"Player 1", "{{a", "a", 0, 0},
        {"Old", "ABCDEFGHIJKLMNO", "ABCDEFGHIJKLM", 0, 0},  // 13 at most
        {"Old", "ABCDEFGHIJKLMNO{", "ABCDEFGHIJKL", 0, 0},
        {"Old", " a b", " a b", 0, 0},                       // space is a character, also first
        {"Old", "ab}", "ab", 0, 1},
        {"nineteen characters", "", "nineteen characters", 1, 0},
    };
    for (const Case &c : cases) {
        NameEntry entry;
        name_entry_begin(&entry, c.old_name);
        pick_all(&entry, c.keys);
        EXPECT_STREQ(entry.buffer, c.name) << c.old_name << " + " << c.keys;
        EXPECT_EQ(entry.untouched, c.untouched) << c.keys;
        EXPECT_EQ(entry.accept, c.accept) << c.keys;
    }
}

TEST(NameGrid, OldNameWithoutTerminatorIsCutToNineteen) {
    char old[20];
    memset(old, 'q', sizeof old);
    NameEntry entry;
    name_entry_begin(&entry, old);
    EXPECT_EQ(strlen(entry.buffer), 19u);
}

TEST(NameEntryScreen, ScriptedKeysTypeANameAndAccept) {
    start_screen_test(5000);
    high_scores[0].score = 9000;
    Uint32 t = now_ms() + 100;
    tap_key(t, SDLK_RIGHT);           // B
    tap_key(t += 200, SDLK_SPACE);    // "B"
    for (int i = 0; i < 3; i++)       // down to "o"
        tap_key(t += 200, SDLK_DOWN);
    tap_key(t += 200, SDLK_z);        // "Bo"
    tap_key(t += 200, SDLK_RETURN, 100);  // held across a poll
    run_name_entry(0);
    EXPECT_STREQ(players[0].name, "Bo");
    EXPECT_STREQ(high_scores[1].name, "Bo");
    EXPECT_EQ(high_scores[1].score, 5000);
    EXPECT_EQ(new_entry_row[0], 1);
    EXPECT_EQ(info_panel, 1);
    EXPECT_EQ(exit_requested, 0);
}

TEST(NameEntryScreen, BoxHighlightAndCursorAreDrawn) {
    start_screen_test(234450);
    player_count = 2;
    static Uint32 box, highlight, old_marker[2], cursor_cell[2];
    static int frame;
    plat_frame_hook = [] {
        // Frame 3 shows the untouched name; by frame 40 "R" is typed and the
        // cursor moved on to it.
        if (++frame == 3 || frame == 40) {
            int k = frame == 40;
            old_marker[k] = pixel_at(145, 80);
            cursor_cell[k] = pixel_at(82 + 12 * 4, 138 + 12 * 1);
            save_screen(k ? "/tmp/og-name-entry-typed.png" : "/tmp/og-name-entry.png");
        }
        if (frame == 60)
            plat_fail_flips = 1;
    };
    box = screen_rgb(16, 0, 80);
    highlight = screen_rgb(176, 176, 0);
    Uint32 t = now_ms() + 300;
    tap_key(t, SDLK_DOWN);
    for (int i = 0; i < 4; i++)
        tap_key(t += 150, SDLK_RIGHT);
    tap_key(t += 150, SDLK_x);
    run_name_entry(1);
    EXPECT_EQ(old_marker[0], highlight);
    EXPECT_EQ(old_marker[1], box);
    EXPECT_NE(cursor_cell[0], highlight);
    EXPECT_EQ(cursor_cell[1], highlight);
    EXPECT_STREQ(players[1].name, "R");
}

TEST(NameEntryScreen, FailedFlipOrClosedWindowKeepsTheNameAsItStands) {
    enum { FAILED_FLIP, WINDOW_CLOSED, ALREADY_ENDING };
    start_screen_test(700);
    for (int way : {FAILED_FLIP, WINDOW_CLOSED, ALREADY_ENDING}) {
        strcpy(players[0].name, "Player 1");
        exit_requested = way == ALREADY_ENDING;
        Uint32 t = now_ms() + 100;
        tap_key(t, SDLK_RIGHT);
        tap_key(t + 200, SDLK_SPACE);  // "B"
        if (way == FAILED_FLIP)
            plat_fail_flips = 1;
        if (way == WINDOW_CLOSED)
            close_window(t + 400);
        run_name_entry(0);
        EXPECT_STREQ(players[0].name, way == WINDOW_CLOSED ? "B" : "Player 1") << way;
        EXPECT_STREQ(high_scores[0].name, players[0].name) << way;
        EXPECT_EQ(high_scores[0].score, 700) << way;
        EXPECT_EQ(exit_requested, 1) << way;
        plat_script_clear();
        memset(high_scores, 0, sizeof high_scores);
    }
}
