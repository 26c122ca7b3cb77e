// Whole games on the virtual clock, a robot reading the screen after every frame
// and pressing real keys, down to the "scores" file; and how a run starts.
#include <gtest/gtest.h>
#include <string.h>
#include <vector>
#include <SDL_mixer.h>
#include "draw/backdrop.h"
#include "game/game_flow.h"
#include "harness.h"
#include "platform/audio.h"
#include "rules/high_scores.h"
#include "rules/table_state.h"

namespace {

std::string scores_file(void) { return read_file(harness_dir() + "/scores"); }

// M a menu, P the player count, T1a player a's first table, F the final
// screen, N0 / N1 a game's first / second name entry.
std::string screen_shown(void) {
    if (image_drawn_at(assets.congrats, 160 - assets.congrats->w / 2, 5))
        return new_entry_row[0] == -1 ? "N0" : "N1";
    return image_drawn_at(assets.button_player2, 250, 75) ? "P"
           : image_drawn_at(assets.button_quit, 200, 150) ? "M"
           : table_number == 4 ? "F" : "T" + std::to_string(table_number) + (char)('a' + current_player);
}

// The keys pressed on each kind of screen, in order across the game: U D L R,
// A a face button, S START, '.' a pause. When they run out the window is
// closed; a screen without keys (null) is left alone. On the tables named in
// take_on ("1a2b") the robot takes the score instead.
struct Plan { const char *menu, *players, *table, *final, *name, *take_on; };
const char *const ALWAYS = "1a1b2a2b3a3b";
// The first frame of each screen, and the state then.
struct Step { std::string screen, file; uint32_t ms; int time_left, score0, panel, slide, row0, row1; };
struct Run { Plan plan; uint32_t quiet_until; std::vector<Step> steps; std::string trace; } run;

const Step &step(const std::string &screen, int nth = 1) {
    static Step none;  // the trace tells what is missing
    for (const Step &s : run.steps)
        if (s.screen == screen && --nth == 0)
            return s;
    return none;
}

void press(char c) {
    const SDLKey keys[] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_RETURN, SDLK_SPACE};
    run.quiet_until = now_ms() + 150;
    if (c != '.')
        tap_key(now_ms(), keys[std::string("UDLRSA").find(c)]);
}

void type_from(const char *&keys) {
    if (keys && *keys)
        press(*keys++);
    else if (keys)
        close_window(now_ms());
}

void robot(void) {
    std::string s = screen_shown();
    if (run.steps.empty() || run.steps.back().screen != s) {
        run.steps.push_back({s, scores_file(), now_ms(), table.time_left, players[0].score, info_panel, panel_slide,
                             new_entry_row[0], new_entry_row[1]});
        run.trace += (run.trace.empty() ? "" : " ") + s;
    }
    // A table swallows keys until its first tick, while it deals and shows its banner.
    if ((Sint32)(now_ms() - run.quiet_until) < 0 || plat_script_pending() ||
        (s[0] == 'T' && (table.time_left == TABLE_TIME || table.table_over)))
        return;
    Plan &p = run.plan;
    if (s[0] != 'T')
        type_from(s[0] == 'M' ? p.menu : s[0] == 'P' ? p.players : s[0] == 'N' ? p.name : p.final);
    else if (!strstr(p.take_on, s.c_str() + 1))
        type_from(p.table);
    else  // down to the waste, right to the take-score button, two presses
        press(table.cursor_slot < TABLE_SLOTS ? 'D' : table.cursor_slot != TAKESCORE_TARGET ? 'R' : 'A');
}

// The file's bytes for the list as it stands, each name padded with NULs.
std::string listed_bytes(void) {
    std::string bytes;
    for (const HighScoreEntry &row : high_scores) {
        std::string name(row.name, strnlen(row.name, 20)), score = std::to_string(row.score);
        bytes += name + std::string(20 - name.size(), '\0') + std::string(6 - score.size(), ' ') + score + "\n";
    }
    return bytes;
}

// The rows not left as play() made them, best first: the name, then "=" and
// the players whose score the row holds.
std::string entries(void) {
    std::string s;
    for (const HighScoreEntry &row : high_scores)
        if (row.name[0] || (row.score > 1 && row.score != 999999))
            s += std::string(row.name, strnlen(row.name, 20)) + "=" + (row.score == players[0].score ? "1" : "") +
                 (row.score == players[1].score ? "2 " : " ");
    return s;
}

// `full` rows of 999999 head the list (with 1 in the tenth below nine); name entry alone writes the file.
void play(unsigned seed, int full, const Plan &plan, const std::string &expected_trace) {
    harness_start(seed);
    for (int i = 0; i < 10; i++)
        high_scores[i].score = i < full ? 999999 : full == 9;
    run = {plan, 0, {}, ""};
    plat_frame_hook = robot;
    run_game_flow();
    EXPECT_EQ(expected_trace, run.trace);
    EXPECT_EQ(expected_trace.find('N') != std::string::npos ? listed_bytes() : "", scores_file());
}

}  // namespace

TEST(WholeGame, OnePlayerTakesTheScoreThreeTimesAndEntersAName) {
    play(7, 0, {"AUA", "A", "", nullptr, "ADDRAS", ALWAYS}, "M P T1a T2a T3a N0 M");  // "Ab" over "Player 1"
    EXPECT_EQ("Ab=1 ", entries());
    const Step &after = step("M", 2);
    EXPECT_EQ(std::make_tuple(1, 0, 0, -1), std::make_tuple(after.panel, after.slide, after.row0, new_entry_row[0]))
        << "the next menu rests on the list with the new row lit until it is left";
}

TEST(WholeGame, TwoPlayersBothQualifyAndTheFileIsWrittenAfterEach) {
    play(11, 0, {"AUA", "RA", "", nullptr, "ADDRAS" "RRAS", ALWAYS}, "M P T1a T1b T2a T2b T3a T3b F N0 N1 M");
    EXPECT_NEAR(5000, (int)(step("N0").ms - step("F").ms), 60) << "the final screen's five seconds";
    EXPECT_EQ("", step("N0").file);
    EXPECT_EQ("Ab", step("N1").file.substr(0, 2));
    EXPECT_EQ("Ab=12 C=12 ", entries()) << "a tie goes below";
    EXPECT_EQ(std::make_pair(0, 1), std::make_pair(step("M", 2).row0, step("M", 2).row1));
}

// A face button ends the first final screen at once, a closed window the second.
TEST(WholeGame, ScoresBelowTheListAndTheFinalScreenCutShort) {
    play(5, 10, {"AA", "AA", "", "A", "", ALWAYS}, "M P T1a T2a T3a F M P T1a T2a T3a F");
    EXPECT_LT(step("M", 2).ms - step("F").ms, 1000u);
    EXPECT_LT(now_ms() - step("F", 2).ms, 100u);
}

// Two players until the second player's second table; there a minute in the
// pause menu, Resume, START again, New game, one player; the new game scores
// on two tables and is quit on its third.
TEST(WholeGame, PauseResumeNewGameAndQuitDuringATableSavesNothing) {
    static const std::string menu = "A" + std::string(400, '.') + "A" "DA" "UA";
    play(4, 0, {menu.c_str(), "RA" "LA", "SSS", nullptr, "", "1a1b2a"},
         "M P T1a T1b T2a T2b M T2b M P T2b T1a T2a T3a M");
    EXPECT_GE(step("T2b", 2).ms - step("M", 2).ms, 60000u);
    EXPECT_EQ(step("M", 2).time_left - 1, step("T2b", 2).time_left) << "a resume costs one tick";
    EXPECT_EQ(0, step("T1a", 2).score0) << "the old game's scores are gone";
    EXPECT_GT(players[0].score, 0);
}

TEST(WholeGame, EachPlayerIsJudgedAgainstTheListAsItStandsAtTheirTurn) {
    const std::string to_entry = "M P T1a T1b T2a T2b T3a T3b F N0";
    const struct { unsigned seed; int full; Plan plan; std::string trace, entries; } games[] = {
        // The window closed after player 1 typed "@": player 2 still gets the name held.
        {9, 0, {"A", "RA", "", nullptr, "UA", ALWAYS}, to_entry, "@=12 Player 2=12 "},
        // Player 1 lets every table run out of time.
        {3, 0, {"AUA", "RA", nullptr, nullptr, "S", "1b2b3b"}, to_entry + " M", "Player 2=2 "},
        // Below nine unbeatable rows player 1 takes the tenth; player 2, who
        // would have beaten its old 1, is judged against it as that entry left it.
        {12, 9, {"AUA", "RA", nullptr, nullptr, "S", "1a1b2a2b3a"}, to_entry + " M", "Player 1=1 "},
    };
    for (auto &g : games) {
        play(g.seed, g.full, g.plan, g.trace);
        EXPECT_EQ(g.entries, entries()) << g.seed;
    }
}

TEST(StartUp, SetsTheStartValuesAndSeedsTheShuffleWithTheTicksModulo32000) {
    harness_start();
    exit_requested = new_game_requested = table.table_over = player_count = 2;
    memset(players, 'x', sizeof players);
    set_start_values();
    plat_advance(32000 * 3 + 1234 - now_ms() % 32000);
    volume_up();
    init_platform();
    Mix_CloseAudio();  // the harness's device stays open
    int first = rand();
    srand(1234);
    EXPECT_EQ(first, rand());
    EXPECT_EQ(std::make_tuple(player_count, exit_requested + new_game_requested + table.table_over, get_volume()),
              std::make_tuple(1, 0, 90));
    EXPECT_EQ(std::string(players[0].name, 20) + std::string(players[1].name, 20),
              "Player 1" + std::string(12, '\0') + "Player 2" + std::string(12, '\0'));
}
