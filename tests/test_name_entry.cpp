// Name entry: the cursor's wrapping, the effect of each pick, and the screen
// run headless from scripted keys through to the stored entry.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "harness.h"
#include "screens/main_menu.h"
#include "draw/backdrop.h"
#include "rules/high_scores.h"
#include "screens/name_entry.h"
#include "rules/name_grid.h"
#include "rules/game_state.h"
#include "game/game_flow.h"
#include "platform/platform.h"
#include "platform/seam.h"

static int grid_index(char c) { return (int)(strchr(name_grid, c) - name_grid); }

TEST(NameGrid, CursorWrapsRoundRowsAndReadingOrder) {
    struct Case { char from; int move; char to; } cases[] = {
        {'A', GRID_UP, '@'},   {'@', GRID_DOWN, 'A'}, {'A', GRID_LEFT, '}'}, {'}', GRID_RIGHT, 'A'},
        {'N', GRID_LEFT, 'M'}, {'M', GRID_RIGHT, 'N'}, {'h', GRID_UP, 'U'},  {'!', GRID_DOWN, '}'},
    };
    for (const Case &c : cases)
        EXPECT_EQ(name_grid[name_cursor_step(grid_index(c.from), c.move)], c.to) << c.from << " " << c.move;
}

TEST(NameGrid, PicksTypeDeleteAndAccept) {
    struct Case { const char *old_name, *keys, *name; int untouched, accept; } cases[] = {
        {"Player 1", "}", "Player 1", 1, 1},                // accepting at once keeps the old name
        {"Player 1", "Z", "Z", 0, 0},                       // the first character replaces it
        {"Player 1", "{", "", 0, 0},                        // the first delete clears it
        {"Player 1", "{{a", "a", 0, 0},
        {"Old", "ABCDEFGHIJKLMNO", "ABCDEFGHIJKLM", 0, 0},  // 13 at most
        {"Old", " a b}", " a b", 0, 1},                      // space is a character, also first
        // An old name of 20 bytes with no terminator is cut to 19.
        {"qqqqqqqqqqqqqqqqqqqq", "", "qqqqqqqqqqqqqqqqqqq", 1, 0},
    };
    for (const Case &c : cases) {
        NameEntry entry;
        name_entry_begin(&entry, c.old_name);
        for (const char *k = c.keys; *k; k++) {
            entry.cursor = grid_index(*k);
            name_entry_pick(&entry);
        }
        EXPECT_STREQ(entry.buffer, c.name) << c.old_name << " + " << c.keys;
        EXPECT_EQ(entry.untouched, c.untouched) << c.keys;
        EXPECT_EQ(entry.accept, c.accept) << c.keys;
    }
}

// Typing and accepting, and the ways the screen can end early: each stores
// the name as it stands. The old name is marked as about to go until the
// first pick; the cursor's cell is lit wherever the keys take it.
TEST(NameEntryScreen, TypesANameAndAcceptsOrEndsEarlyWithTheNameAsItStands) {
    enum { FAILED_FLIP, WINDOW_CLOSED, ALREADY_ENDING, TYPED };
    harness_start();
    static Uint32 frame, marker_at_start, b_cell_at_start;
    plat_frame_hook = [] {
        if (++frame == 1) {
            marker_at_start = pixel_at(145, 80);
            b_cell_at_start = pixel_at(82 + 12, 138);
        }
        plat_fail_flips += frame == 2000;  // no loop runs for ever
    };
    for (int way : {FAILED_FLIP, WINDOW_CLOSED, ALREADY_ENDING, TYPED}) {
        strcpy(players[0].name, "Player 1");
        players[0].score = 700;
        memset(high_scores, 0, sizeof high_scores);
        exit_requested = way == ALREADY_ENDING;
        plat_fail_flips = way == FAILED_FLIP;
        frame = info_panel = 0;
        Uint32 t = now_ms() + 100;
        tap_key(t, SDLK_RIGHT);
        tap_key(t + 200, SDLK_SPACE);  // "B"
        if (way == WINDOW_CLOSED)
            close_window(t + 400);
        tap_key(t + 600, SDLK_RETURN, 100);  // held across a poll
        run_name_entry(0);
        plat_script_clear();
        const std::string name = way == TYPED || way == WINDOW_CLOSED ? "B" : "Player 1";
        EXPECT_EQ(players[0].name + std::string(" ") + high_scores[0].name, name + " " + name) << way;
        EXPECT_TRUE(high_scores[0].score == 700 && info_panel == 1) << way;
        EXPECT_EQ(exit_requested, way != TYPED) << way;
    }
    // The typed entry came last: its first frame was sampled and its last is on the screen.
    save_screen("/tmp/og-name-entry-typed.png");
    const Uint32 box = screen_rgb(16, 0, 80), highlight = screen_rgb(176, 176, 0);
    EXPECT_TRUE(marker_at_start == highlight && pixel_at(145, 80) == box) << "old name marked until the first pick";
    EXPECT_TRUE(b_cell_at_start != highlight && pixel_at(82 + 12, 138) == highlight) << "cursor cell lit";
}
