// Whole games on the virtual clock, a robot reading the screen and pressing real keys, down to the "scores" file.
#include <gtest/gtest.h>
#include <string.h>
#include <vector>
#include <SDL_mixer.h>
#include "draw/backdrop.h"
#include "game/game_flow.h"
#include "game/scores_file.h"
#include "harness.h"
#include "input/input.h"
#include "platform/audio.h"
#include "rules/high_scores.h"
#include "rules/pairs.h"
#include "rules/table_state.h"

namespace {

// M a menu, P the player count, T1a player a's first table, F the final screen, N0 / N1 first / second name entry.
std::string screen_shown(void) {
    return image_drawn_at(assets.congrats, 160 - assets.congrats->w / 2, 5) ? (new_entry_row[0] == -1 ? "N0" : "N1")
           : image_drawn_at(assets.button_player2, 250, 75) ? "P"
           : image_drawn_at(assets.button_quit, 200, 150) ? "M"
           : table_number == 4 ? "F" : "T" + std::to_string(table_number) + (char)('a' + current_player);
}

// Keys pressed on each kind of screen across the game (U D L R, A a face button, S START, E Escape, '.' a pause; clicks
// on n New game, q Quit, 1 one player; t types "Ada"), then the window closes; null keys leave the screen alone. On
// the tables in take_on ("1a2b") the robot takes the score, clicking a pair first when `clicks` is set.
struct Plan { const char *menu, *players, *table, *final, *name, *take_on; bool clicks = false; };
const char *const ALWAYS = "1a1b2a2b3a3b";
struct Step { std::string screen, file; uint32_t ms; int time_left, score0, score1, panel, row0, row1; };
struct Run { Plan plan; uint32_t quiet_until; std::vector<Step> steps; std::string trace; int paired; } run;

Step step(const std::string &screen, int nth = 1) {
    for (const Step &s : run.steps)
        if (s.screen == screen && --nth == 0)
            return s;
    return {};
}

void press(char c) {
    const struct { char c; int x, y; } buttons[] = {{'n', 238, 85}, {'q', 238, 160}, {'1', 213, 88}};
    const SDLKey keys[] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_RETURN, SDLK_ESCAPE};
    run.quiet_until = now_ms() + 150;
    for (auto &b : buttons)
        if (c == b.c)
            return click_at(now_ms(), b.x, b.y);
    if (c == 'A')
        tap_face_button(now_ms());
    else if (c == 't')
        type_text(now_ms(), "Ada");
    else if (c != '.')
        tap_key(now_ms(), keys[std::string("UDLRSE").find(c)]);
}

// A pair if there is one, one card then the other (on its top strip, which no card covers), then take-score.
void click_on_table(void) {
    run.quiet_until = now_ms() + 150;
    for (int a = 0; a <= WASTE_SLOT && !table.equal_pairs && !table.adjacent_pairs; a++)
        for (int b = a + 1; b <= WASTE_SLOT; b++)
            if (is_card_free(a) && is_card_free(b) && judge_pair(table.table_slots[a], table.table_slots[b])) {
                SlotPos at = slot_position(table.selected_first == a ? b : a);
                return click_at(now_ms(), at.x + 18, at.y + 10);
            }
    run.paired += !table.takescore_armed && table.equal_pairs + table.adjacent_pairs == 1;
    click_at(now_ms(), 36, 215);
}

void robot(void) {
    std::string s = screen_shown();
    if (s[0] == 'T' && new_game_requested)  // a table being left may still draw
        return;
    if (run.steps.empty() || run.steps.back().screen != s) {
        run.steps.push_back({s, read_file("scores"), now_ms(), table.time_left, players[0].score, players[1].score,
                             info_panel, new_entry_row[0], new_entry_row[1]});
        run.trace += (run.trace.empty() ? "" : " ") + s;
    }
    // A table swallows keys until its first tick, while it deals and shows its banner.
    if ((Sint32)(now_ms() - run.quiet_until) < 0 || plat_script_pending() ||
        (s[0] == 'T' && (table.time_left == TABLE_TIME || table.table_over)))
        return;
    Plan &p = run.plan;
    const char *&keys = s[0] == 'M' ? p.menu : s[0] == 'P' ? p.players : s[0] == 'N' ? p.name
                        : s[0] == 'F' ? p.final : p.table;
    bool take = s[0] == 'T' && strstr(p.take_on, s.c_str() + 1);
    if (take && p.clicks)
        click_on_table();
    else if (take)  // down to the waste, right to the take-score button, twice
        press(table.cursor_slot < TABLE_SLOTS ? 'D' : table.cursor_slot != TAKESCORE_TARGET ? 'R' : 'A');
    else if (keys && *keys)
        press(*keys++);
    else if (keys)
        close_window(now_ms());
}

// `full` rows of 999999 head the list (1 in the tenth below nine). `listed`: the rows changed, best first, each the
// name, "=" and the players whose score it holds. Name entry alone writes the file, the last leaving the list in it.
void play(unsigned seed, int full, const Plan &plan, const std::string &expected_trace, const std::string &listed) {
    harness_start(seed);
    for (int i = 0; i < 10; i++)
        high_scores[i].score = i < full ? 999999 : full == 9;
    run = {plan, 0, {}, "", 0};
    plat_frame_hook = robot;
    run_game_flow();
    EXPECT_EQ(expected_trace, run.trace);
    std::string entries;
    for (const HighScoreEntry &row : high_scores)
        if (row.name[0] || (row.score > 1 && row.score != 999999))
            entries += std::string(row.name, strnlen(row.name, 20)) + "=" + (row.score == players[0].score ? "1" : "") +
                       (row.score == players[1].score ? "2 " : " ");
    EXPECT_EQ(listed, entries) << seed;
    std::string file = read_file("scores");
    EXPECT_EQ(expected_trace.find('N') == std::string::npos ? "" : (save_high_scores(), read_file("scores")), file);
}

}  // namespace

TEST(WholeGame, TwoPlayersBothQualifyAndTheFileIsWrittenAfterEach) {
    play(11, 0, {"AUA", "RA", "", nullptr, "ADDRAS" "RRAS", ALWAYS}, "M P T1a T1b T2a T2b T3a T3b F N0 N1 M",
         "Ab=12 C=12 ");  // a tie goes below
    EXPECT_EQ("Ab", step("N1").file.substr(0, 2));
    const Step m = step("M", 2);  // on the list, the new rows lit until it is left
    EXPECT_EQ(std::make_tuple(1, 0, 1, -1), std::make_tuple(m.panel, m.row0, m.row1, new_entry_row[0]));
}

// On player 2's second table a minute in the pause menu (opened by Escape as by START), Resume, START, New game
// for two players, who score on three tables and quit on the fourth.
TEST(WholeGame, PauseResumeNewGameAndQuitDuringATableSavesNothing) {
    const char *pauses = HANDHELD ? "SSS" : "ESS";
    play(4, 0, {("A" + std::string(400, '.') + "A" "DA" "UA").c_str(), "RA" "A", pauses, nullptr, "", "1a1b2a"},
         "M P T1a T1b T2a T2b M T2b M P T1a T1b T2a T2b M", "");
    EXPECT_GE(step("T2b", 2).ms - step("M", 2).ms, 60000u);
    EXPECT_EQ(step("M", 2).time_left - 1, step("T2b", 2).time_left) << "a resume costs one tick";
    EXPECT_EQ(0, step("T1a", 2).score0 + step("T1a", 2).score1) << "the old game's scores are gone";
    EXPECT_GT(players[0].score, 0);
}

// A mouse alone plays a game, but for the name typed (on the handheld, which has no keyboard, kept) and Return.
TEST(WholeGame, PlayedByClicks) {
    play(8, 0, {"nq", "1", "", nullptr, "tS", ALWAYS, true}, "M P T1a T2a T3a N0 M", HANDHELD ? "Player 1=1 " : "Ada=1 ");
    EXPECT_EQ(std::make_tuple(exit_requested, run.paired), std::make_tuple(1, 3)) << "a pair on each table";
}

TEST(WholeGame, EachPlayerIsJudgedAgainstTheListAsItStandsAtTheirTurn) {
    const std::string to_entry = "M P T1a T1b T2a T2b T3a T3b F N0";
    const struct { unsigned seed; int full; Plan plan; std::string trace, entries; } games[] = {
        {7, 0, {"AUA", "A", "", nullptr, "ADDRAS", ALWAYS}, "M P T1a T2a T3a N0 M", "Ab=1 "},  // "Ab" over "Player 1"
        // The window closed after player 1 typed "@": player 2 still gets the name held.
        {9, 0, {"A", "RA", "", nullptr, "UA", ALWAYS}, to_entry, "@=12 Player 2=12 "},
        {3, 0, {"AUA", "RA", nullptr, nullptr, "S", "1b2b3b"}, to_entry + " M", "Player 2=2 "},  // 1 runs out of time
        // Below nine unbeatable rows player 1 takes the tenth; player 2 would have beaten its old 1.
        {12, 9, {"AUA", "RA", nullptr, nullptr, "S", "1a1b2a2b3a"}, to_entry + " M", "Player 1=1 "},
    };
    for (auto &g : games)
        play(g.seed, g.full, g.plan, g.trace, g.entries);
}

// The final screen ends at its deadline, or within a step of a press, which stays latched for the next screen,
// also when frames take 13 ms, more than a step. good.wav ends a two-player game, a one-player one only on a top ten.
TEST(FinalScreen, EndsOnTimeOrAtAPress) {
    const struct { int players; uint32_t press; SDLKey key; uint32_t ends; bool slow; } cases[] = {
        {1, 0, SDLK_UNKNOWN, 5000, false}, {2, 0, SDLK_UNKNOWN, 5000, true}, {1, 1234, SDLK_SPACE, 1234, true},
        {2, 4985, SDLK_RETURN, 4985, false}};
    static int goods;
    for (const auto &c : cases) {
        harness_start();
        plat_frame_hook = c.slow ? +[] { plat_advance(13); } : nullptr;
        plat_sound_hook = [](int sound) { goods += sound == SOUND_GOOD; };
        goods = 0;
        for (HighScoreEntry &row : high_scores)
            row.score = 999999;
        player_count = c.players;
        table_number = 4;
        uint32_t began = now_ms();
        if (c.key)
            tap_key(began + c.press, c.key, 500);
        run_end_of_game();
        uint32_t took = now_ms() - began;
        EXPECT_TRUE(took <= c.ends + (c.key ? FRAME_STEP_MS + PLAT_POLL_MS + 13 * c.slow : 0) && took >= c.ends) << took;
        EXPECT_EQ(std::make_tuple(press_action || hold_start, goods), std::make_tuple(c.key != SDLK_UNKNOWN, c.players - 1));
    }
}

TEST(StartUp, SetsTheStartValuesAndSeedsTheShuffleWithTheTicksModulo32000) {
    harness_start();
    exit_requested = new_game_requested = table.table_over = player_count = 2;
    set_start_values();
    plat_advance(32000 * 3 + 1234 - now_ms() % 32000);
    volume_up();
    init_platform();
    Mix_CloseAudio();  // the harness's device stays open
    int first = rand();
    EXPECT_EQ((srand(1234), rand()), first);
    EXPECT_EQ(std::make_tuple(player_count, exit_requested + new_game_requested + table.table_over, get_volume()),
              std::make_tuple(1, 0, 90));
}
