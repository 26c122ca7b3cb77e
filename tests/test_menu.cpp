// The main menu, the player-count menu and the backdrop, driven frame by
// frame on the real screen.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <algorithm>
#include <string>
#include <vector>
#include "draw/sprites.h"
#include "harness.h"
#include "input/input.h"
#include "menus/backdrop.h"
#include "menus/main_menu.h"
#include "menus/player_menu.h"
#include "scores/high_scores.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/platform.h"

// ---- pure rules ------------------------------------------------------------

TEST(MenuRules, UpAndDownWrapAndSkipResumeWithoutAGame) {
    struct Case {
        int selection, with_resume, up, down;
    } cases[] = {
        {2, 0, 5, 3}, {5, 0, 4, 2}, {3, 0, 2, 4},  // no game: Resume never reached
        {1, 1, 5, 2}, {5, 1, 4, 1}, {2, 1, 1, 3},  // paused table: Resume is in the ring
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.up, menu_step_up(c.selection, c.with_resume)) << c.selection << " " << c.with_resume;
        EXPECT_EQ(c.down, menu_step_down(c.selection, c.with_resume)) << c.selection << " " << c.with_resume;
    }
}

TEST(BackdropRules, PanelRingOffsets) {
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

TEST(BackdropRules, SlideComesToRestFromAnyValue) {
    int from240[] = {200, 160, 120, 80, 40, 0, 0};
    int slide = 240;
    for (int expected : from240)
        EXPECT_EQ(expected, slide = slide_step(slide));
    EXPECT_EQ(-200, slide_step(-240));
    // Not a multiple of the step: it must not swing between +20 and -20.
    EXPECT_EQ(0, slide_step(20));
    EXPECT_EQ(0, slide_step(-20));
    EXPECT_EQ(10, slide_step(50));
}

// ---- menus driven frame by frame ------------------------------------------

// One character of input per presented frame, applied to the latches right
// after the frame (the menus poll next): U D L R up/down/left/right, A a face
// button, S START, B LEFT and RIGHT together, X RIGHT and a face button,
// '.' nothing. When the script runs out the window is closed.
static const char *script = "";
static int frame = 0;
static std::string seen;  // the selector's place on every frame
static int player_menu_labels = 0;

static char selector_label(void) {
    if (player_menu_labels)
        return image_drawn_at(assets.selector, 230, 85) ? '1' : image_drawn_at(assets.selector, 280, 85) ? '2' : '?';
    const char names[] = "RNHIQ";
    for (int i = 0; i < 5; i++)
        if (image_drawn_at(assets.selector, 280, 60 + 25 * i))
            return names[i];
    return '?';
}

static void apply(char c) {
    switch (c) {
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
}

static void script_frame(void) {
    seen += selector_label();
    apply(script[frame]);
    if (script[frame])
        frame++;
}

static void drive(const char *input) {
    script = input;
    frame = 0;
    seen.clear();
    plat_frame_hook = script_frame;
}

TEST(MainMenu, SelectionAndOutcomes) {
    struct Case {
        int table_number;
        const char *input, *seen;
        int exit, new_game;
    } cases[] = {
        {-1, "UA", "NQ", 1, 0},             // first menu: UP from New game is Quit
        {-1, "DDDDUA", "NHIQNQ", 1, 0},     // DOWN from Quit skips Resume
        {-1, "DDDD.", "NHIQNN", 1, 0},      // nothing confirmed: only closing ends it
        {2, "A", "R", 0, 0},                // paused table: starts on Resume
        {2, "UDA", "RQR", 0, 0},            // Resume is in the ring
        {2, "S", "R", 0, 0},                // START confirms like a face button
        {3, "DDDDA", "RNHIQ", 1, 0},
        {1, "DAA", "RN", 0, 1},             // New game; then the player-count menu
    };
    harness_start();
    for (const Case &c : cases) {
        table_number = c.table_number;
        exit_requested = new_game_requested = 0;
        drive(c.input);
        run_main_menu();
        if (c.new_game)  // the player-count menu took the rest of the script
            seen.resize(strlen(c.seen));
        EXPECT_EQ(c.seen, seen) << c.input;
        EXPECT_EQ(c.exit, exit_requested) << c.input;
        EXPECT_EQ(c.new_game, new_game_requested) << c.input;
    }
}

TEST(MainMenu, ResumeDrawnOnlyDuringAGame) {
    harness_start();
    int resume_drawn[2];
    int tables[2] = {-1, 2};
    for (int i = 0; i < 2; i++) {
        table_number = tables[i];
        exit_requested = 0;
        drive("");
        run_main_menu();
        resume_drawn[i] = image_drawn_at(assets.button_resume, 200, 50);
        EXPECT_TRUE(image_drawn_at(assets.button_quit, 200, 150));
    }
    EXPECT_FALSE(resume_drawn[0]);
    EXPECT_TRUE(resume_drawn[1]);
}

TEST(MainMenu, StartKeyThroughThePadResumes) {
    harness_start();
    table_number = 1;
    plat_frame_hook = nullptr;
    tap_key(now_ms() + 100, SDLK_RETURN);
    close_window(now_ms() + 5000);
    Uint32 start = now_ms();
    run_main_menu();
    EXPECT_EQ(0, exit_requested);
    EXPECT_LT(now_ms() - start, 1000u);
}

// info_panel:panel_slide as each frame was presented.
static std::string panels_seen;

static void record_panels(void) {
    panels_seen += std::to_string(info_panel) + ":" + std::to_string(panel_slide) + " ";
    script_frame();
}

TEST(MainMenu, PanelsSlideInAndBack) {
    struct Case {
        const char *input, *panels;
    } cases[] = {
        // High scores rises from below (+240), a second press brings the title
        // down from above (-240); each choice is followed by a frame 40 on.
        {"DA.A.", "0:0 0:0 1:200 1:160 0:-200 0:-160 "},
        // Instructions come down from above, the title rises back.
        {"DDA.A.", "0:0 0:0 0:0 2:-200 2:-160 0:200 0:160 "},
        // From the list straight to the instructions with their own slide.
        {"DA.DA.", "0:0 0:0 1:200 1:160 1:120 2:-200 2:-160 "},
    };
    harness_start();
    for (const Case &c : cases) {
        table_number = -1;
        exit_requested = 0;
        info_panel = 0;
        panels_seen.clear();
        drive(c.input);
        plat_frame_hook = record_panels;
        run_main_menu();
        EXPECT_EQ(c.panels, panels_seen) << c.input;
        EXPECT_EQ(0, info_panel) << "every exit returns to the title";
    }
}

TEST(MainMenu, HighScorePanelRisesOverSixFrames) {
    harness_start();
    table_number = -1;
    info_panel = 1;
    panel_slide = 240;
    int heading_h = assets.topgorvels->h;
    for (int o = 200; o >= 0; o -= 40) {
        draw_menu_backdrop();
        EXPECT_EQ(o, panel_slide);
        EXPECT_TRUE(image_drawn_at(assets.topgorvels, 30, o + 40 - heading_h)) << o;
        EXPECT_TRUE(image_drawn_at(assets.title, 20, o - 240 + 50)) << o;
    }
    draw_menu_backdrop();
    EXPECT_TRUE(image_drawn_at(assets.topgorvels, 30, 40 - heading_h));
}

TEST(MainMenu, AfterNameEntryOpensOnTheListAndClearsItOnLeaving) {
    harness_start();
    table_number = -1;
    info_panel = 1;
    panel_slide = 120;  // whatever was left; the menu starts at rest
    new_entry_row[0] = 3;
    new_entry_row[1] = -1;
    static int list_at_rest_in_player_menu;
    list_at_rest_in_player_menu = 0;
    drive("AA");
    plat_frame_hook = [] {
        if (frame == 0) {
            EXPECT_TRUE(image_drawn_at(assets.topgorvels, 30, 40 - assets.topgorvels->h));
        }
        if (frame == 1)
            list_at_rest_in_player_menu = image_drawn_at(assets.topgorvels, 30, 40 - assets.topgorvels->h) &&
                                          image_drawn_at(assets.button_player1, 200, 75);
        script_frame();
    };
    run_main_menu();
    EXPECT_TRUE(list_at_rest_in_player_menu);
    EXPECT_EQ(1, new_game_requested);
    EXPECT_EQ(0, info_panel);
    EXPECT_EQ(-1, new_entry_row[0]);
    EXPECT_EQ(-1, new_entry_row[1]);
}

TEST(MainMenu, ExitAlreadyRequestedDrawsNothing) {
    harness_start();
    exit_requested = 1;
    info_panel = 2;
    new_entry_row[0] = 4;
    new_game_requested = 1;
    player_count = 2;
    drive("A");
    run_main_menu();
    EXPECT_EQ(0, frame);
    EXPECT_EQ("", seen);
    EXPECT_EQ(0, info_panel);
    EXPECT_EQ(-1, new_entry_row[0]);
    EXPECT_EQ(2, player_count) << "the player-count menu returned at once";
}

TEST(MainMenu, FailedFlipIsFatal) {
    harness_start();
    plat_fail_flips = 1;
    EXPECT_EXIT(run_main_menu(), testing::ExitedWithCode(1), "Error in SDL_Flip");
}

TEST(PlayerMenu, TogglesAndConfirms) {
    struct Case {
        int count_before;
        const char *input, *seen;
        int count_after;
    } cases[] = {
        {1, "A", "1", 1},
        {1, "R.A", "122", 2},
        {2, "L.LA", "2112", 2},    // both directions toggle; no clamping
        {1, "B.A", "122", 2},      // LEFT and RIGHT in one frame: one toggle
        {1, "X", "1", 2},          // a confirm with a toggle keeps the toggle
        {1, "SSR.A", "11122", 2},  // START does not confirm
    };
    harness_start();
    player_menu_labels = 1;
    for (const Case &c : cases) {
        player_count = c.count_before;
        exit_requested = 0;
        drive(c.input);
        run_player_count_menu();
        EXPECT_EQ(c.seen, seen) << c.input;
        EXPECT_EQ(c.count_after, player_count) << c.input;
        EXPECT_EQ(0, exit_requested) << c.input;
        EXPECT_EQ(1, press_action) << "the confirming press stays latched";
        reset_input();
    }
}

TEST(PlayerMenu, ExitAlreadyRequestedDrawsNothing) {
    harness_start();
    exit_requested = 1;
    player_count = 2;
    drive("R");
    run_player_count_menu();
    EXPECT_EQ(0, frame);
    EXPECT_EQ(2, player_count);
}

TEST(PlayerMenu, FailedFlipIsFatal) {
    harness_start();
    plat_fail_flips = 1;
    EXPECT_EXIT(run_player_count_menu(), testing::ExitedWithCode(1), "Error in SDL_Flip");
}

// ---- backdrop ----------------------------------------------------------------

TEST(Backdrop, MascotCycle) {
    harness_start();
    info_panel = 0;
    std::vector<int> drawn;  // popup_y of each drawn frame, -1 when hidden
    for (int call = 1; call <= 460; call++) {
        draw_menu_backdrop();
        bool on_screen = popup_y < 240 && image_drawn_at(assets.gorvel_popup, 230, popup_y);
        drawn.push_back(on_screen ? popup_y : -1);
    }
    std::vector<int> expected(201, -1);
    for (int y : {236, 232, 228, 224})
        expected.push_back(y);
    expected.insert(expected.end(), 49, 220);
    for (int y : {224, 228, 232, 236})
        expected.push_back(y);
    expected.insert(expected.end(), 201, -1);
    expected.push_back(236);  // and it rises again
    EXPECT_EQ(expected, drawn);
}

// The rows of the list as they should look, drawn by hand with the same font.
static std::vector<Uint32> list_band(void) {
    std::vector<Uint32> band;
    for (int y = 64; y < 64 + 12 * 10; y++)
        for (int x = 0; x < 320; x++)
            band.push_back(pixel_at(x, y));
    return band;
}

static std::vector<Uint32> row_band(int row) {
    std::vector<Uint32> band;
    for (int y = 64 + 12 * row; y < 76 + 12 * row; y++)
        for (int x = 0; x < 320; x++)
            band.push_back(pixel_at(x, y));
    return band;
}

static void draw_list_on_black(void) {
    SDL_FillRect(screen, nullptr, 0);
    draw_score_list(0);
}

TEST(ScoreList, RowsMatchTheirText) {
    harness_start();
    for (int i = 0; i < 10; i++) {
        memset(high_scores[i].name, 0, 20);
        high_scores[i].score = 1000 * (10 - i);
    }
    // All 20 bytes printable and a score whose first byte is printable too:
    // the name must stop at the field's end, not run on into the score.
    memset(high_scores[0].name, 'W', 20);
    high_scores[0].score = 0x41;
    strcpy(high_scores[1].name, "  spaced");
    high_scores[2].score = -5;
    new_entry_row[0] = new_entry_row[1] = -1;
    draw_list_on_black();
    std::vector<Uint32> drawn = list_band();
    EXPECT_EQ(assets.font1, current_font.image) << "the list leaves font1 current";

    SDL_FillRect(screen, nullptr, 0);
    set_font(assets.font2);
    for (int i = 0; i < 10; i++) {
        char rank[8], score[16], name[21] = {};
        snprintf(rank, sizeof rank, "%2i", i + 1);
        snprintf(score, sizeof score, "%7i", (int)high_scores[i].score);
        memcpy(name, high_scores[i].name, 20);
        int y = 64 + 12 * i;
        draw_text(2, y, screen, rank);
        draw_text(19, y, screen, ".");
        draw_text(30, y, screen, name);
        draw_text(120, y, screen, score);
    }
    EXPECT_TRUE(drawn == list_band());
}

TEST(ScoreList, HighlightsOnlyTheNewRows) {
    struct Case {
        int first, second;
        std::vector<int> lit;
    } cases[] = {{3, -1, {3}}, {2, 2, {2}}, {-1, 9, {9}}, {0, 5, {0, 5}}, {-1, -1, {}}};
    harness_start();
    for (int i = 0; i < 10; i++) {
        snprintf(high_scores[i].name, 20, "Name %d", i);
        high_scores[i].score = 500 - i;
    }
    new_entry_row[0] = new_entry_row[1] = -1;
    draw_list_on_black();
    std::vector<std::vector<Uint32>> plain;
    for (int r = 0; r < 10; r++)
        plain.push_back(row_band(r));
    for (const Case &c : cases) {
        new_entry_row[0] = c.first;
        new_entry_row[1] = c.second;
        draw_list_on_black();
        for (int r = 0; r < 10; r++) {
            bool lit = std::find(c.lit.begin(), c.lit.end(), r) != c.lit.end();
            EXPECT_EQ(lit, row_band(r) != plain[r]) << "row " << r << " with " << c.first << "," << c.second;
        }
    }
}

// ---- screenshots for the eye (and the README) --------------------------------

static const char *shot_path = nullptr;
static int shot_frame = 0;

static void shoot_then_script(void) {
    if (frame == shot_frame && shot_path)
        save_screen(shot_path);
    script_frame();
}

TEST(MenuScreens, SavedForViewing) {
    struct Shot {
        int panel;
        const char *input;
        int at_frame;
        const char *path;
    } shots[] = {
        {0, "...", 2, "/tmp/og-screens/main_menu.png"},
        {1, "...", 2, "/tmp/og-screens/high_scores.png"},
        {2, "...", 2, "/tmp/og-screens/instructions.png"},
        {0, "AR..A", 3, "/tmp/og-screens/player_count.png"},
    };
    harness_start();
    const char *names[] = {"Gorvel", "Marta", "Player 1", "Ines", "Tobiah", "Ula", "Rafe", "Player 2", "Odile", ""};
    for (int i = 0; i < 10; i++) {
        copy_name(high_scores[i].name, names[i]);
        high_scores[i].score = i < 9 ? 52000 - 4700 * i : 0;
    }
    mkdir("/tmp/og-screens", 0755);
    popup_state = 2;  // the mascot peeking up
    popup_y = 220;
    for (const Shot &s : shots) {
        table_number = -1;
        exit_requested = 0;
        info_panel = s.panel;
        new_entry_row[0] = s.panel == 1 ? 2 : -1;
        drive(s.input);
        shot_path = s.path;
        shot_frame = s.at_frame;
        plat_frame_hook = shoot_then_script;
        run_main_menu();
        EXPECT_FALSE(read_file(s.path).empty()) << s.path;
    }
}
