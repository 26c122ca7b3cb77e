// The main menu, the player-count menu, the backdrop and name entry, driven frame by frame on the real screen.
#include <gtest/gtest.h>
#include <string.h>
#include <utility>
#include "draw/backdrop.h"
#include "harness.h"
#include "input/input.h"
#include "platform/audio.h"
#include "rules/high_scores.h"
#include "screens/main_menu.h"
#include "screens/name_entry.h"
#include "screens/player_menu.h"

namespace {

// One input a frame: latches U D L R, A a face button, S START, B LEFT and RIGHT, X RIGHT and A, '.' none; clicks on
// r Resume, n New game, h High scores, q Quit, 1 or 2 players, p beside them, m New game let go on Quit; u a release
// alone, b the right button, e Escape. Then the window closes.
const char *script;
std::string seen;    // each frame: the selector (R N H I Q, or 1 2 for the count), the panel and its slide
std::string sounds;  // 3 click3 for a move, 1 click1 for a choice or a typed key
void hear(int sound) { sounds += std::to_string(sound); }

void script_frame(void) {
    static uint32_t last_frame;
    EXPECT_GE(now_ms() - std::exchange(last_frame, now_ms()), 50u) << "a frame every 50 ms";
    bool count_menu = image_drawn_at(assets.button_player1, 200, 75);
    EXPECT_EQ(table_number >= 1 && !count_menu, image_drawn_at(assets.button_resume, 200, 50)) << "Resume in a game";
    seen += " ?";
    const char *places = count_menu ? "12" : "RNHIQ";
    for (int i = 0; places[i]; i++)
        if (image_drawn_at(assets.selector, count_menu ? 230 + 50 * i : 280, count_menu ? 85 : 60 + 25 * i))
            seen.back() = places[i];
    // The list stands where its slide says, with the title a screen above it.
    EXPECT_TRUE(info_panel != 1 || (image_drawn_at(assets.topgorvels, 30, panel_slide + 40 - assets.topgorvels->h) &&
                                    image_drawn_at(assets.title, 20, panel_slide - 190))) << panel_slide;
    seen += (info_panel ? std::to_string(info_panel) : "") + (panel_slide > 0 ? "+" : "") +
            (panel_slide ? std::to_string(panel_slide) : "");
    const std::pair<const char *, int *> latches[] = {{"U", &press_up},     {"D", &press_down},     {"LB", &press_left},
                                                      {"RBX", &press_right}, {"AX", &press_action}, {"S", &hold_start}};
    for (auto &latch : latches)
        *latch.second |= *script && strchr(latch.first, *script);
    // Pressed at (x, y) unless `up_only`, let go `drop` pixels lower.
    const struct { char c; int x, y, drop = 0; bool up_only = false; Uint8 button = SDL_BUTTON_LEFT; } clicks[] = {
        {'r', 210, 55}, {'n', 210, 80}, {'h', 270, 119}, {'q', 210, 155}, {'1', 200, 75}, {'2', 260, 97},
        {'p', 100, 120}, {'m', 210, 80, 75}, {'u', 210, 80, 0, true}, {'b', 210, 80, 0, false, SDL_BUTTON_RIGHT}};
    for (auto &click : clicks)
        if (*script == click.c) {
            if (!click.up_only)
                mouse_button(now_ms(), click.x, click.y, 1, click.button);
            mouse_button(now_ms(), click.x, click.y + click.drop, 0, click.button);
        }
    if (*script == 'e')
        tap_key(now_ms(), SDLK_ESCAPE);
    exit_requested |= !*script;
    script += *script != 0;
}

}  // namespace

TEST(Menus, SelectionPanelsPlayerCountAndOutcome) {
    const struct { int table, count; const char *input, *seen, *sounds; int exit, new_game, count_after; } cases[] = {
        {-1, 1, "DDDDUA", " N H I Q N Q", "333331", 1, 0, 1},  // no game: DOWN from Quit, UP from New game skip Resume
        {1, 1, "UDS", " R Q R", "331", 0, 0, 1},  // a paused table: Resume in the ring; START confirms
        // START does not confirm the count; LEFT toggles either way, LEFT and RIGHT together once.
        {-1, 2, "ASSL.LB.A", " N 2 2 2 1 1 2 1 1", "13331", 0, 1, 1},
        // The list comes from below, the instructions from above, the title back the other way.
        {-1, 1, "DA.....A.", " N H H1+200 H1+160 H1+120 H1+80 H1+40 H1 H-200 H-160", "311", 1, 0, 1},
        {-1, 1, "DDA.A.", " N H I I2-200 I2-160 I+200 I+160", "3311", 1, 0, 1},
        {-1, 1, "DA.DA.", " N H H1+200 H1+160 I1+120 I2-200 I2-160", "3131", 1, 0, 1},
        {-1, 1, "AX", " N 1", "131", 0, 1, 2},  // a toggle with the confirm still counts; no end requested
        // A click chooses its button; a tap beside the buttons is a press while a panel shows.
        {-1, 1, "hp.", " N H1+200 H-200 H-160", "311", 1, 0, 1}, {-1, 2, "n1", " N 2", "131", 0, 1, 1},
        {-1, 1, "2n2", " N N 1", "131", 0, 1, 2},
        // Nothing for Resume not drawn, a press let go elsewhere, a lone release, button 2, the felt, Escape alone.
        {-1, 1, "rmubpeq", " N N N N N N N", "31", 1, 0, 1},
#ifndef OG_CONSOLE
        {2, 1, "e", " R", "1", 0, 0, 1},  // Escape resumes a paused table
#endif
    };
    harness_start();
    plat_sound_hook = hear;
    plat_frame_hook = script_frame;
    for (auto &c : cases) {
        table_number = c.table;
        player_count = c.count;
        exit_requested = new_game_requested = 0;
        script = c.input;
        seen = sounds = "";
        run_main_menu();
        EXPECT_EQ(std::make_tuple(std::string(c.seen), std::string(c.sounds), c.exit, c.new_game, c.count_after, 0),
                  std::make_tuple(seen, sounds, exit_requested, new_game_requested, player_count, info_panel));  // title after every exit
    }
    plat_fail_flips = 1;
    exit_requested = 0;
    EXPECT_EXIT(run_main_menu(), testing::ExitedWithCode(1), "Error in SDL_Flip");
    EXPECT_EXIT(run_player_count_menu(), testing::ExitedWithCode(1), "Error in SDL_Flip");
}

// The tiles drift a pixel left and down a frame and cover the screen; the mascot, hidden 201 frames, rises 4 pixels
// a frame, stays 48 and sinks. Both go on from wherever earlier frames left them.
TEST(Backdrop, TilesDriftAndTheMascotRisesStaysAndSinks) {
    harness_start();
    info_panel = 3;  // no panel over the tiles
    auto tiles_at = [](int s) {
        for (int c = 0; c <= 5; c++)
            for (int r = -1; r <= 4; r++)
                if (!image_drawn_at(assets.background_tile, 64 * c - s, s + 64 * r))
                    return false;
        return true;
    };
    int scroll = -1, rise = -1;  // the drift as of call 0, found on a frame without the mascot; its first rise
    std::string seen;  // "frame:top" from the rise on, whenever the mascot's top (-1 for none) changes
    for (int call = 0, last = -2, top; call < 600; last = top, call++) {
        SDL_FillRect(screen, nullptr, 0);
        draw_menu_backdrop();
        top = -1;
        for (int y = 220; y < 239 && top < 0; y++)  // at 239 only its blank top row would show
            top = image_drawn_at(assets.gorvel_popup, 230, y) ? y : -1;
        for (int s = 0; s < 64 && scroll < 0 && top < 0; s++)
            scroll = tiles_at(s) ? (s - call % 64 + 64) % 64 : -1;
        ASSERT_TRUE(top >= 0 || tiles_at((scroll + call) % 64)) << call;
        rise = rise < 0 && last == -1 && top >= 0 ? call : rise;
        if (top != last && rise >= 0 && call - rise <= 258)
            seen += " " + std::to_string(call - rise) + ":" + std::to_string(top);
    }
    EXPECT_EQ(seen, " 0:236 1:232 2:228 3:224 4:220 53:224 54:228 55:232 56:236 57:-1 258:236");
}

TEST(ScoreList, NewRowsLitAndAFullNameStopsAtItsField) {
    harness_start();
    SDL_Surface *real_font = std::exchange(assets.font2, code_font(3, 10));  // lit rows read as nothing
    for (int i = 0; i < 10; i++)
        high_scores[i].score = i ? 100 - i : 'A';
    memset(high_scores[0].name, 'W', 20);  // all 20 bytes printable, and the score's first byte too
    new_entry_row[0] = 3, new_entry_row[1] = 9;
    SDL_FillRect(screen, nullptr, 0);
    draw_score_list(0);
    std::string rows;
    for (int row = 0; row < 10; row++)
        rows += code_text_at(65 + 12 * row) + "|";
    EXPECT_EQ(" 1." + std::string(20, 'W') + "     65| 2.     99| 3.     98|| 5.     96| 6.     95| 7.     94|"
              " 8.     93| 9.     92||", rows);
    SDL_FreeSurface(std::exchange(assets.font2, real_font));
}

// Accepting, a failed flip and a closed window store the name as it stands and open the next menu on the list; the
// old name is marked until the first pick. Keys type what is on the grid, BackSpace deletes, a click picks a cell.
TEST(NameEntryScreen, LinesTypingAndTheWaysItEnds) {
    harness_start();
    SDL_Surface *real_font = std::exchange(assets.font1, code_font(6, 10));
    static std::string lines;
    static uint32_t frames, last_frame;
    const uint32_t box = screen_rgb(16, 0, 80), highlight = screen_rgb(176, 176, 0);
    enum { PICK, FAIL, CLOSE, TYPE, CLICK };
    void (*const right_b)(uint32_t) = [](uint32_t t) { tap_key(t, SDLK_RIGHT); tap_face_button(t + 200); };
    const struct { int player, how; const char *name; int cursor; const char *sounds; void (*input)(uint32_t); } cases[] = {
        {0, FAIL, "Player 1", 1, "", right_b}, {0, PICK, "B", 1, "31", right_b},
        {1, CLOSE, "Player 2", 1, "3",  // the window closes before the pick
         [](uint32_t t) { tap_key(t, SDLK_RIGHT); close_window(t + 150); tap_face_button(t + 200); }},
#ifndef OG_CONSOLE
        {0, TYPE, "Zx-a", 0, "111111",  // "+" is not on the grid: it stays the volume key
         [](uint32_t t) { type_text(t, "Zx-y+"); tap_key(t + 200, SDLK_BACKSPACE); type_text(t + 300, "a"); }},
#endif
        {1, CLICK, "C", 77, "3131",  // "C", then "}" at the far corner of its cell
         [](uint32_t t) { click_at(t, 84 + 24 + 5, 140 - 1); click_at(t + 200, 82 + 144 + 11, 200); }}};
    for (auto &c : cases) {
        harness_start();  // nothing held, the names as a run starts
        plat_frame_hook = [] {
            EXPECT_GE(now_ms() - std::exchange(last_frame, now_ms()), 50u) << "a frame every 50 ms";
            lines.clear();
            for (int y : {30, 40, 50, 60, 74, 225})
                lines += code_text_at(y) + "|";
            plat_fail_flips += ++frames == 2000;  // no loop runs for ever
        };
        player_count = 1 + c.player;
        players[c.player].score = 41250;
        frames = 0;
        sounds = "";
        plat_sound_hook = hear;
        plat_fail_flips = c.how == FAIL;
        c.input(now_ms() + 100);
        tap_key(now_ms() + 700, SDLK_RETURN, 100);  // held across a poll
        run_name_entry(c.player);
        EXPECT_EQ(std::string(c.name) + "=" + c.name, players[c.player].name + std::string("=") + high_scores[0].name);
        EXPECT_TRUE(high_scores[0].score == 41250 && info_panel == 1 && exit_requested == (c.how == FAIL || c.how == CLOSE))
            << c.name;
        EXPECT_EQ(std::string(c.player ? "Player 2" : "") + "|You are in the top ten!|41250|Enter your name:|" + c.name +
                      "|Press Start to accept|", lines);
        EXPECT_EQ(c.how == FAIL || c.how == CLOSE ? highlight : box, pixel_at(145, 80)) << "the old name marked until the first pick";
        EXPECT_EQ(c.how != FAIL, pixel_at(82 + 12 * (c.cursor % 13), 138 + 12 * (c.cursor / 13)) == highlight) << "cursor";
        EXPECT_EQ(std::make_pair(get_volume(), sounds), std::make_pair(c.how == TYPE ? 97 : 90, std::string(c.sounds)));
    }
    SDL_FreeSurface(std::exchange(assets.font1, real_font));
}
