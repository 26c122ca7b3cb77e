// Whole games on the virtual clock: a player robot reads the screen after
// every frame and presses real keys, from the first menu to the "scores" file.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>
#include "draw/backdrop.h"
#include "game/game_flow.h"
#include "harness.h"
#include "rules/high_scores.h"
#include "rules/table_state.h"

namespace {

std::string scores_file(void) { return read_file(harness_dir() + "/scores"); }

// The screen on view: M a menu, P the player count, T1a player a's first
// table, F the final screen, N0 / N1 the first / second name entry (the second
// begins once the first entry is in the list).
std::string screen_shown(void) {
    if (image_drawn_at(assets.congrats, 160 - assets.congrats->w / 2, 5))
        return new_entry_row[0] == -1 ? "N0" : "N1";
    if (image_drawn_at(assets.button_player2, 250, 75))
        return "P";
    if (image_drawn_at(assets.button_quit, 200, 150))
        return "M";
    if (table_number == 4)
        return "F";
    return "T" + std::to_string(table_number) + (char)('a' + current_player);
}

// The first frame of each screen shown, and the state then.
struct Step {
    std::string screen;
    uint32_t ms;
    int time_left, score0, panel, slide, row0, row1;
    std::string file;
};
std::vector<Step> steps;

std::string trace(void) {
    std::string t;
    for (const Step &s : steps)
        t += (t.empty() ? "" : " ") + s.screen;
    return t;
}

const Step &step(const std::string &screen, int nth = 1) {
    for (const Step &s : steps)
        if (s.screen == screen && --nth == 0)
            return s;
    static Step none;
    ADD_FAILURE() << "no " << screen << " in " << trace();
    return none;
}

// What the robot types, one key at a time: U D L R directions, A a face
// button, S START, '.' a pause. The keys of each kind of screen are used in
// order across the game; a screen whose keys have run out closes the window,
// one without keys (null) is left alone. On the tables named in `take_on`
// ("1a2b") the robot takes the score instead.
struct Plan {
    const char *menu, *players, *table, *final, *name, *take_on;
};
Plan plan;
uint32_t quiet_until;

enum { KEY_GAP_MS = 150 };
const char *const ALWAYS = "1a1b2a2b3a3b";

void press(char c) {
    quiet_until = now_ms() + KEY_GAP_MS;
    static const char names[] = "UDLRSA";
    static const SDLKey keys[] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_RETURN, SDLK_SPACE};
    if (c != '.')
        tap_key(now_ms(), keys[strchr(names, c) - names]);
}

void type_from(const char **keys) {
    if (!*keys)
        return;
    if (**keys) {
        press(*(*keys)++);
        return;
    }
    close_window(now_ms());
    quiet_until = now_ms() + 1000000;
}

// Down to the waste, right to the take-score button, then two presses; keys
// lost to the deal or to the banner are simply pressed again.
void take_score(void) {
    press(table.cursor_slot <= 32 ? 'D' : table.cursor_slot != TAKESCORE_TARGET ? 'R' : 'A');
}

void robot(void) {
    std::string s = screen_shown();
    if (steps.empty() || steps.back().screen != s)
        steps.push_back({s, now_ms(), table.time_left, players[0].score, info_panel, panel_slide,
                         new_entry_row[0], new_entry_row[1], scores_file()});
    if ((Sint32)(now_ms() - quiet_until) < 0 || plat_script_pending())
        return;
    switch (s[0]) {
    case 'M': type_from(&plan.menu); break;
    case 'P': type_from(&plan.players); break;
    case 'N': type_from(&plan.name); break;
    case 'F': type_from(&plan.final); break;
    default:
        // A tick has passed: the table is in play, its banner gone.
        if (table.time_left < TABLE_TIME && !table.table_over) {
            if (strstr(plan.take_on, s.c_str() + 1))
                take_score();
            else
                type_from(&plan.table);
        }
    }
}

void play(const Plan &p) {
    plan = p;
    quiet_until = 0;
    steps.clear();
    plat_frame_hook = robot;
    run_game_flow();
    EXPECT_EQ(1, exit_requested);
}

// The file's bytes for the list as it stands in memory.
std::string expected_file(void) {
    std::string bytes;
    for (const HighScoreEntry &row : high_scores) {
        char score[16];
        snprintf(score, sizeof score, "%6i\n", (int)row.score);
        bytes.append(row.name, 20);
        bytes += score;
    }
    return bytes;
}

}  // namespace

TEST(WholeGame, OnePlayerTakesTheScoreThreeTimesAndEntersAName) {
    harness_start(7);
    // New game, one player; "Ab" typed over "Player 1"; then Quit.
    play({"A" "UA", "A", "", nullptr, "A" "DDR" "A" "S", ALWAYS});
    EXPECT_EQ("M P T1a T2a T3a N0 M", trace()) << "a top-ten score goes straight to name entry";
    int score = players[0].score;
    EXPECT_GT(score, 0);
    EXPECT_EQ(0, score % 50) << "only time bonuses were earned";
    EXPECT_STREQ("Ab", players[0].name);
    const Step &after = step("M", 2);
    EXPECT_EQ(1, after.panel) << "the next menu opens on the list, at rest, the new row lit";
    EXPECT_EQ(0, after.slide);
    EXPECT_EQ(0, after.row0);
    EXPECT_EQ(-1, new_entry_row[0]) << "leaving the menu clears the highlight";

    std::string expected("Ab", 2);
    expected.append(18, '\0');
    char line[16];
    snprintf(line, sizeof line, "%6i\n", score);
    expected += line;
    for (int i = 1; i < 10; i++)
        expected += std::string(20, '\0') + "     0\n";
    EXPECT_TRUE(expected == scores_file());
}

TEST(WholeGame, TwoPlayersBothQualifyAndTheFileIsWrittenAfterEach) {
    harness_start(11);
    // Two players; "Ab" for the first, "C" for the second.
    play({"A" "UA", "RA", "", nullptr, "A" "DDR" "A" "S" "RR" "A" "S", ALWAYS});
    EXPECT_EQ("M P T1a T1b T2a T2b T3a T3b F N0 N1 M", trace());
    EXPECT_NEAR(5000, (int)(step("N0").ms - step("F").ms), 60) << "two players see the result for five seconds";
    EXPECT_EQ("", step("N0").file);
    EXPECT_EQ("Ab", step("N1").file.substr(0, 2)) << "saved after the first entry";
    EXPECT_TRUE(expected_file() == scores_file());
    EXPECT_STREQ("Ab", players[0].name);
    EXPECT_STREQ("C", players[1].name);
    // Each player's row holds that player's entry, best first, and both are lit.
    int first = players[0].score >= players[1].score ? 0 : 1;
    EXPECT_STREQ(players[first].name, high_scores[0].name);
    EXPECT_STREQ(players[1 - first].name, high_scores[1].name);
    EXPECT_EQ(first, step("M", 2).row0);
    EXPECT_EQ(1 - first, step("M", 2).row1);
}

TEST(WholeGame, ScoreBelowTheListAndTheWindowClosedOnTheFinalScreen) {
    harness_start(5);
    for (HighScoreEntry &row : high_scores)
        row.score = 999999;
    play({"A", "A", "", "", "", ALWAYS});
    EXPECT_EQ("M P T1a T2a T3a F", trace());
    EXPECT_LT(now_ms() - step("F").ms, 100u) << "the game flow returned without waiting";
    EXPECT_EQ("", scores_file()) << "no entry, no save";
}

TEST(WholeGame, QuittingDuringATableSavesNothing) {
    harness_start(2);
    // The first table scored; on the second START, then Quit.
    play({"A" "UA", "A", "S", nullptr, "", "1a"});
    EXPECT_EQ("M P T1a T2a M", trace());
    EXPECT_GT(players[0].score, 0);
    EXPECT_EQ("", scores_file());
}

TEST(WholeGame, NewGameFromThePauseMenuStartsAgain) {
    harness_start(4);
    // Two players until the second player's second table; there START, New
    // game, one player; the new game is played to its last table and quit.
    play({"A" "DA" "UA", "RA" "LA", "SS", nullptr, "", "1a1b2a"});
    // The abandoned table counts its one tick on the way out.
    EXPECT_EQ("M P T1a T1b T2a T2b M P T2b T1a T2a T3a M", trace());
    EXPECT_EQ(0, step("T1a", 2).score0) << "the old game's scores are gone";
    EXPECT_EQ(1, player_count);
    EXPECT_EQ(0, players[1].score);
    EXPECT_EQ("", scores_file());
}

TEST(WholeGame, ResumeCostsOneTick) {
    harness_start(6);
    // A minute in the pause menu (400 pauses of 150 ms), then Resume; START
    // again and Quit.
    static std::string menu_keys = "A" + std::string(400, '.') + "A" + "UA";
    play({menu_keys.c_str(), "A", "SS", nullptr, "", ""});
    EXPECT_EQ("M P T1a M T1a M", trace());
    EXPECT_GE(step("T1a", 2).ms - step("M", 2).ms, 60000u);
    EXPECT_EQ(step("M", 2).time_left - 1, step("T1a", 2).time_left);
}

TEST(WholeGame, ClosingDuringTheFirstEntryKeepsItAndStillEntersTheSecondPlayer) {
    harness_start(9);
    // Player 1's entry is closed after one typed "@"; player 2's entry then
    // accepts at once with the name player 2 already had.
    play({"A", "RA", "", nullptr, "UA", ALWAYS});
    int first = players[0].score >= players[1].score ? 0 : 1;
    const char *names[2] = {"@", "Player 2"};
    EXPECT_STREQ(names[first], high_scores[0].name);
    EXPECT_STREQ(names[1 - first], high_scores[1].name);
    EXPECT_TRUE(expected_file() == scores_file());
}

TEST(WholeGame, OnlyTheSecondPlayerQualifies) {
    harness_start(3);
    // The first player lets every table run out of time.
    play({"A" "UA", "RA", nullptr, nullptr, "S", "1b2b3b"});
    EXPECT_EQ("M P T1a T1b T2a T2b T3a T3b F N0 M", trace());
    EXPECT_EQ(0, players[0].score);
    EXPECT_STREQ("Player 2", high_scores[0].name);
    EXPECT_TRUE(expected_file() == scores_file());
}

// A face button ends the final screen at once.
TEST(WholeGame, AKeyEndsTheFinalScreen) {
    harness_start(5);
    for (HighScoreEntry &row : high_scores)
        row.score = 999999;
    play({"A", "A", "", "A", "", ALWAYS});
    EXPECT_EQ("M P T1a T2a T3a F M", trace());
    EXPECT_LT(step("M", 2).ms - step("F").ms, 1000u);
}

// With nine unbeatable rows, the first player takes the tenth; the second,
// with less, is judged against the table as that entry left it.
TEST(WholeGame, TheSecondPlayerIsJudgedAfterTheFirstIsEntered) {
    harness_start(12);
    for (HighScoreEntry &row : high_scores)
        row.score = 999999;
    high_scores[9].score = 1;
    // The second player lets the last table run out of time.
    play({"A" "UA", "RA", nullptr, nullptr, "S", "1a1b2a2b3a"});
    EXPECT_EQ("M P T1a T1b T2a T2b T3a T3b F N0 M", trace());
    EXPECT_GT(players[1].score, 1);
    EXPECT_LT(players[1].score, players[0].score);
    EXPECT_STREQ("Player 1", high_scores[9].name);
}
