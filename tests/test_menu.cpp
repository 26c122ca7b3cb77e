// The main menu, the player-count menu and the backdrop, driven frame by
// frame on the real screen.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>
#include "harness.h"
#include "input/input.h"
#include "draw/backdrop.h"
#include "screens/main_menu.h"
#include "draw/backdrop.h"
#include "screens/player_menu.h"
#include "rules/high_scores.h"
#include "platform/assets.h"
#include "rules/game_state.h"
#include "game/game_flow.h"
#include "platform/platform.h"
#include "platform/seam.h"

// The selector's place on the frame just shown: R N H I Q in the main menu,
// 1 or 2 in the player-count menu.
static std::string selector_place(void) {
    if (image_drawn_at(assets.button_player1, 200, 75))
        return image_drawn_at(assets.selector, 230, 85) ? "1" : image_drawn_at(assets.selector, 280, 85) ? "2" : "?";
    EXPECT_EQ(table_number >= 1, image_drawn_at(assets.button_resume, 200, 50)) << "Resume only during a game";
    for (int i = 0; i < 5; i++)
        if (image_drawn_at(assets.selector, 280, 60 + 25 * i))
            return std::string(1, "RNHIQ"[i]);
    return "?";
}

static std::string panel_and_slide(void) {
    return std::to_string(info_panel) + ":" + std::to_string(panel_slide) + " ";
}

// One character of input per presented frame, set in the latches the menu
// reads next: U D L R directions, A a face button, S START, B LEFT and RIGHT
// together, X RIGHT and a face button, '.' nothing. When the script runs out
// the window is closed.
static const char *script = "";
static int frame = 0;
static std::string seen;
static std::string (*look)(void) = selector_place;

static void script_frame(void) {
    seen += look();
    switch (script[frame]) {
    case 'U': press_up = 1; break;
    case 'D': press_down = 1; break;
    case 'L': press_left = 1; break;
    case 'R': press_right = 1; break;
    case 'A': press_action = 1; break;
    case 'S': hold_start = 1; break;
    case 'B': press_left = press_right = 1; break;
    case 'X': press_right = press_action = 1; break;
    case '.': break;
    default: exit_requested = 1;
    }
    if (script[frame])
        frame++;
}

static void run_menu(int table, const char *input) {
    table_number = table;
    exit_requested = new_game_requested = 0;
    script = input;
    frame = 0;
    seen.clear();
    plat_frame_hook = script_frame;
    run_main_menu();
}

TEST(Menus, SelectionToggleAndOutcome) {
    struct Case {
        int table, count_before;
        const char *input, *seen;
        int exit, new_game, count_after;
    } cases[] = {
        {-1, 1, "UA", "NQ", 1, 0, 1},            // no game: UP from New game wraps to Quit
        {-1, 1, "DDDDUA", "NHIQNQ", 1, 0, 1},    // DOWN from Quit skips Resume
        {2, 1, "UDA", "RQR", 0, 0, 1},           // paused table: Resume is in the ring
        {2, 1, "S", "R", 0, 0, 1},               // START confirms like a face button
        {1, 1, "DAA", "RN1", 0, 1, 1},           // New game, then the player count
        {-1, 1, "AR.A", "N122", 0, 1, 2},
        {-1, 2, "AL.LA", "N2112", 0, 1, 2},      // both directions toggle; no clamping
        {-1, 1, "AB.A", "N122", 0, 1, 2},        // LEFT and RIGHT in one frame: one toggle
        {-1, 1, "AX", "N1", 0, 1, 2},            // a toggle with the confirm still counts
        {-1, 1, "ASSR.A", "N11122", 0, 1, 2},    // START does not confirm the count
    };
    harness_start();
    for (const Case &c : cases) {
        player_count = c.count_before;
        run_menu(c.table, c.input);
        EXPECT_EQ(c.seen, seen) << c.input;
        EXPECT_EQ(c.exit, exit_requested) << c.input;
        EXPECT_EQ(c.new_game, new_game_requested) << c.input;
        EXPECT_EQ(c.count_after, player_count) << c.input;
    }
}

TEST(Menus, ExitAlreadyRequestedDrawsNothing) {
    harness_start();
    exit_requested = new_game_requested = 1;  // the player-count menu must not draw either
    info_panel = 2;
    new_entry_row[0] = 4;
    script = "A";
    plat_frame_hook = script_frame;
    run_main_menu();
    EXPECT_EQ(0, frame);
    EXPECT_EQ(0, info_panel);
    EXPECT_EQ(-1, new_entry_row[0]);
}

TEST(Menus, FailedFlipIsFatal) {
    harness_start();
    plat_fail_flips = 1;
    EXPECT_EXIT(run_main_menu(), testing::ExitedWithCode(1), "Error in SDL_Flip");
    EXPECT_EXIT(run_player_count_menu(), testing::ExitedWithCode(1), "Error in SDL_Flip");
}

TEST(Panels, ChosenPanelSlidesInAndAChosenAgainBringsTheTitleBack) {
    struct Case {
        const char *input, *panels;
    } cases[] = {
        // High scores rises from below (+240), a second press brings the title
        // down from above (-240); each choice is followed by a frame 40 on.
        {"DA.A.", "0:0 0:0 1:200 1:160 0:-200 0:-160 "},
        {"DDA.A.", "0:0 0:0 0:0 2:-200 2:-160 0:200 0:160 "},
        // From the list straight to the instructions with their own slide.
        {"DA.DA.", "0:0 0:0 1:200 1:160 1:120 2:-200 2:-160 "},
    };
    harness_start();
    look = panel_and_slide;
    for (const Case &c : cases) {
        run_menu(-1, c.input);
        EXPECT_EQ(c.panels, seen) << c.input;
        EXPECT_EQ(0, info_panel) << "every exit returns to the title";
    }
}

TEST(Panels, RingOffsets) {
    struct Case {
        int shown, slide, title, list, instructions;
    } cases[] = {
        {0, 0, 0, 240, -240},    {1, 0, -240, 0, 240},    {2, 0, 240, -240, 0},
        {1, 200, -40, 200, 440}, {2, -200, 40, -440, -200}, {0, -200, -200, 40, -440},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.title, panel_offset(0, c.shown, c.slide)) << c.shown << " " << c.slide;
        EXPECT_EQ(c.list, panel_offset(1, c.shown, c.slide)) << c.shown << " " << c.slide;
        EXPECT_EQ(c.instructions, panel_offset(2, c.shown, c.slide)) << c.shown << " " << c.slide;
    }
}

TEST(Panels, HighScoresRiseOverSixFramesWithTheTitleAbove) {
    harness_start();
    info_panel = 1;
    panel_slide = 240;
    for (int o = 200; o >= 0; o -= 40) {
        draw_menu_backdrop();
        EXPECT_TRUE(image_drawn_at(assets.topgorvels, 30, o + 40 - assets.topgorvels->h)) << o;
        EXPECT_TRUE(image_drawn_at(assets.title, 20, o - 240 + 50)) << o;
    }
}

TEST(Panels, SlideComesToRestFromAnyValue) {
    // 20 is no multiple of the step: it must not swing between +20 and -20.
    int cases[][2] = {{240, 200}, {-240, -200}, {40, 0}, {20, 0}, {-20, 0}, {50, 10}, {0, 0}};
    for (auto &c : cases)
        EXPECT_EQ(c[1], slide_step(c[0])) << c[0];
}

TEST(Backdrop, MascotRisesStaysAndSinks) {
    harness_start();
    std::vector<int> drawn;  // popup_y of each call, -1 while hidden
    for (int call = 1; call <= 460; call++) {
        draw_menu_backdrop();
        drawn.push_back(popup_y < 240 && image_drawn_at(assets.gorvel_popup, 230, popup_y) ? popup_y : -1);
    }
    std::vector<int> expected(201, -1);
    expected.insert(expected.end(), {236, 232, 228, 224});
    expected.insert(expected.end(), 49, 220);
    expected.insert(expected.end(), {224, 228, 232, 236});
    expected.insert(expected.end(), 201, -1);
    expected.push_back(236);  // and it rises again
    EXPECT_EQ(expected, drawn);
}

TEST(ScoreList, NewRowsLitAndAFullNameStopsAtItsField) {
    struct Case {
        int first, second;
        const char *lit;
    } cases[] = {{-1, -1, ""}, {3, -1, "3"}, {2, 2, "2"}, {-1, 9, "9"}, {0, 5, "05"}};
    harness_start();
    // Unlit rows are read back through a code font; lit ones keep the real
    // highlight font, which reads as nothing.
    SDL_Surface *real_font = assets.font2;
    assets.font2 = code_font(3, 10);
    for (int i = 0; i < 10; i++) {
        snprintf(high_scores[i].name, 20, "N%d", i);
        high_scores[i].score = 100 - i;
    }
    // All 20 bytes printable and a score whose first byte is printable too.
    memset(high_scores[0].name, 'W', 20);
    high_scores[0].score = 'A';
    for (const Case &c : cases) {
        new_entry_row[0] = c.first;
        new_entry_row[1] = c.second;
        SDL_FillRect(screen, nullptr, 0);
        draw_score_list(0);
        std::string lit;
        for (int row = 0; row < 10; row++)
            if (code_text_at(65 + 12 * row).empty())
                lit += (char)('0' + row);
        EXPECT_EQ(c.lit, lit) << c.first << "," << c.second;
    }
    new_entry_row[0] = new_entry_row[1] = -1;
    draw_score_list(0);
    EXPECT_EQ(" 1." + std::string(20, 'W') + "     65", code_text_at(65));
    EXPECT_EQ(" 7.N6     94", code_text_at(65 + 12 * 6));
    SDL_FreeSurface(assets.font2);
    assets.font2 = real_font;
}
