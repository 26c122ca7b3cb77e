// The main menu, the player-count menu, the backdrop and the name-entry
// screen, driven frame by frame on the real screen.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <tuple>
#include <vector>
#include "draw/backdrop.h"
#include "harness.h"
#include "input/input.h"
#include "rules/high_scores.h"
#include "screens/main_menu.h"
#include "screens/name_entry.h"
#include "screens/player_menu.h"

// The selector's place on the frame just shown: R N H I Q in the main menu,
// 1 or 2 in the player-count menu.
namespace {

std::string selector_place(void) {
    if (image_drawn_at(assets.button_player1, 200, 75))
        return image_drawn_at(assets.selector, 230, 85) ? "1" : image_drawn_at(assets.selector, 280, 85) ? "2" : "?";
    EXPECT_EQ(table_number >= 1, image_drawn_at(assets.button_resume, 200, 50)) << "Resume only during a game";
    for (int i = 0; i < 5; i++)
        if (image_drawn_at(assets.selector, 280, 60 + 25 * i))
            return std::string(1, "RNHIQ"[i]);
    return "?";
}

std::string panel_and_slide(void) {
    return std::to_string(info_panel) + ":" + std::to_string(panel_slide) + " ";
}

// One character of input per presented frame, set in the latches the menu
// reads next: U D L R directions, A a face button, S START, B LEFT and RIGHT
// together, X RIGHT and a face button, '.' nothing. When the script runs out
// the window is closed.
const char *script = "";
int frame = 0;
std::string seen;
std::string (*look)(void) = selector_place;

void script_frame(void) {
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

void run_menu(int table, const char *input) {
    table_number = table;
    exit_requested = new_game_requested = 0;
    script = input;
    frame = 0;
    seen.clear();
    plat_frame_hook = script_frame;
    run_main_menu();
}

}  // namespace

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
    look = selector_place;
    for (const Case &c : cases) {
        player_count = c.count_before;
        run_menu(c.table, c.input);
        EXPECT_EQ(c.seen, seen) << c.input;
        EXPECT_EQ(c.exit, exit_requested) << c.input;
        EXPECT_EQ(c.new_game, new_game_requested) << c.input;
        EXPECT_EQ(c.count_after, player_count) << c.input;
    }
}

// An end already requested draws nothing (the player-count menu neither)
// and still resets the panel; a failed flip is fatal in both menus.
TEST(Menus, EndAtOnceOrFatally) {
    harness_start();
    exit_requested = new_game_requested = 1;
    info_panel = 2;
    new_entry_row[0] = 4;
    script = "A";
    frame = 0;
    plat_frame_hook = script_frame;
    run_main_menu();
    EXPECT_EQ(std::make_tuple(frame, info_panel, new_entry_row[0]), std::make_tuple(0, 0, -1));
    plat_fail_flips = 1;
    exit_requested = 0;
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

// The list rises over six frames with the title above it; a slide that is
// no multiple of the step comes to rest instead of swinging round zero.
TEST(Panels, HighScoresRiseOverSixFramesWithTheTitleAbove) {
    harness_start();
    info_panel = 1;
    panel_slide = 240;
    for (int o = 200; o >= 0; o -= 40) {
        draw_menu_backdrop();
        EXPECT_TRUE(image_drawn_at(assets.topgorvels, 30, o + 40 - assets.topgorvels->h)) << o;
        EXPECT_TRUE(image_drawn_at(assets.title, 20, o - 240 + 50)) << o;
    }
    int slides[][2] = {{-240, -200}, {20, 0}, {-20, 0}, {50, 10}, {0, 0}};
    for (auto &c : slides)
        EXPECT_EQ(c[1], slide_step(c[0])) << c[0];
}

// The tiles drift a pixel left and down a frame and cover the screen; the
// mascot peeks up every 201 frames and stays 48.
TEST(Backdrop, TilesDriftAndTheMascotRisesStaysAndSinks) {
    harness_start();
    for (int call = 0; call < 70; call++) {
        SDL_FillRect(screen, nullptr, 0);
        draw_backdrop_tiles();
        for (int c = 0; c <= 5; c++)
            for (int r = -1; r <= 4; r++)
                ASSERT_TRUE(image_drawn_at(assets.background_tile, 64 * c - (call + 1) % 64, (call + 1) % 64 + 64 * r))
                    << call << ": " << c << "," << r;
    }
    popup_state = popup_timer = popup_y = 0;
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

// Typing and accepting, and the ways the screen can end early: each stores
// the name as it stands. The old name is marked as about to go until the
// first pick; the cursor's cell is lit wherever the keys take it.
TEST(NameEntryScreen, TypesANameAndAcceptsOrEndsEarlyWithTheNameAsItStands) {
    enum { FAILED_FLIP, WINDOW_CLOSED, ALREADY_ENDING, TYPED };
    harness_start();
    static uint32_t frame, marker_at_start, b_cell_at_start;
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
    const Uint32 box = screen_rgb(16, 0, 80), highlight = screen_rgb(176, 176, 0);
    EXPECT_TRUE(marker_at_start == highlight && pixel_at(145, 80) == box) << "old name marked until the first pick";
    EXPECT_TRUE(b_cell_at_start != highlight && pixel_at(82 + 12, 138) == highlight) << "cursor cell lit";
}

// The lines of the screen, read through a code font: "Player 2" only in a
// two-player game, then the score, the prompt, the name and how to accept.
TEST(NameEntryScreen, LinesOfOneAndTwoPlayerGames) {
    harness_start();
    SDL_Surface *real_font = assets.font1;
    assets.font1 = code_font(6, 10);
    static std::vector<std::string> lines;
    plat_frame_hook = [] {
        lines.clear();
        for (int y : {30, 40, 50, 60, 74, 225})
            lines.push_back(code_text_at(y));
        exit_requested = 1;
    };
    for (int two = 0; two < 2; two++) {
        player_count = 1 + two;
        players[two].score = 41250;
        exit_requested = 0;
        run_name_entry(two);
        EXPECT_EQ(lines, (std::vector<std::string>{two ? "Player 2" : "", "You are in the top ten!", "41250",
                                                   "Enter your name:", two ? "Player 2" : "Player 1",
                                                   "Press Start to accept"}));
    }
    SDL_FreeSurface(assets.font1);
    assets.font1 = real_font;
}
