// Whole games on the virtual clock: a player robot reads the screen after
// every frame and presses real keys, from the first menu to the "scores" file.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <string>
#include "harness.h"
#include "input/input.h"
#include "menus/main_menu.h"
#include "scores/high_scores.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/platform.h"
#include "table/table_loop.h"
#include "table/table_state.h"

enum Screen { SCREEN_MENU, SCREEN_PLAYERS, SCREEN_TABLE, SCREEN_FINAL, SCREEN_NAME };

static Screen screen_shown(void) {
    if (image_drawn_at(assets.congrats, 160 - assets.congrats->w / 2, 5))
        return SCREEN_NAME;
    if (image_drawn_at(assets.button_player2, 250, 75))
        return SCREEN_PLAYERS;
    if (image_drawn_at(assets.button_quit, 200, 150))
        return SCREEN_MENU;
    return table_number == 4 ? SCREEN_FINAL : SCREEN_TABLE;
}

// What the robot types on each kind of screen, one key at a time across the
// whole game: U D L R directions, A a face button, S START, '.' a pause.
// A screen whose keys have run out closes the window.
struct Plan {
    const char *menu, *players, *name;
    // On a table in play: 1 to take the score, 0 to press the next key of
    // `table` instead.
    int (*take_score_now)(void);
    const char *table;
};

static Plan plan;
static const char *next_key[5];
static Uint32 quiet_until;
static int frames_on[5];
static void (*watch)(Screen) = nullptr;  // a test's own look at each frame

enum { KEY_GAP_MS = 150 };

static SDLKey key_for(char c) {
    switch (c) {
    case 'U': return SDLK_UP;
    case 'D': return SDLK_DOWN;
    case 'L': return SDLK_LEFT;
    case 'R': return SDLK_RIGHT;
    case 'S': return SDLK_RETURN;
    default: return SDLK_SPACE;
    }
}

static void press(char c) {
    quiet_until = now_ms() + KEY_GAP_MS;
    if (c != '.')
        tap_key(now_ms(), key_for(c));
}

static void type_from(const char **keys) {
    if (!**keys) {
        close_window(now_ms());
        quiet_until = now_ms() + 1000000;
        return;
    }
    press(*(*keys)++);
}

// Down to the waste, right to the take-score button, then two presses; keys
// lost to the deal or to the banner are simply pressed again.
static void take_score(void) {
    if (table.cursor_slot <= 32)
        press('D');
    else if (table.cursor_slot != TAKESCORE_TARGET)
        press('R');
    else
        press('A');
}

static void robot(void) {
    Screen s = screen_shown();
    frames_on[s]++;
    if (watch)
        watch(s);
    if ((Sint32)(now_ms() - quiet_until) < 0 || plat_script_pending())
        return;
    switch (s) {
    case SCREEN_TABLE:
        // A tick has passed: the table is in play, its banner gone.
        if (table.time_left < TABLE_TIME && !table.table_over) {
            if (plan.take_score_now && plan.take_score_now())
                take_score();
            else
                type_from(&next_key[s]);
        }
        break;
    case SCREEN_FINAL: break;  // it ends by itself
    default: type_from(&next_key[s]);
    }
}

static int always(void) { return 1; }

static void play(const Plan &p) {
    plan = p;
    next_key[SCREEN_MENU] = p.menu;
    next_key[SCREEN_PLAYERS] = p.players;
    next_key[SCREEN_NAME] = p.name;
    next_key[SCREEN_TABLE] = p.table ? p.table : "";
    next_key[SCREEN_FINAL] = "";
    quiet_until = 0;
    memset(frames_on, 0, sizeof frames_on);
    plat_frame_hook = robot;
    run_game_flow();
}

static std::string scores_file(void) { return read_file(harness_dir() + "/scores"); }

// The file's bytes for the table as it stands in memory.
static std::string expected_file(void) {
    std::string bytes;
    for (const HighScoreEntry &row : high_scores) {
        char score[16];
        snprintf(score, sizeof score, "%6i\n", (int)row.score);
        bytes.append(row.name, 20);
        bytes += score;
    }
    return bytes;
}

// ---- one player ----------------------------------------------------------------

static std::string tables_seen;

static void note_tables(Screen s) {
    if (s != SCREEN_TABLE || table_number < 1 || table_number > 3)
        return;
    char t = (char)('0' + table_number), p = (char)('a' + current_player);
    size_t n = tables_seen.size();
    if (n < 2 || tables_seen[n - 2] != t || tables_seen[n - 1] != p)
        tables_seen += std::string(1, t) + p;
}

static int list_lit_in_menu_after_game;

static void note_tables_and_list(Screen s) {
    note_tables(s);
    if (s == SCREEN_MENU && frames_on[SCREEN_TABLE] && list_lit_in_menu_after_game == -1)
        list_lit_in_menu_after_game = info_panel == 1 && panel_slide == 0 ? new_entry_row[0] : -2;
}

TEST(WholeGame, OnePlayerTakesTheScoreThreeTimesAndEntersAName) {
    harness_start(7);
    tables_seen.clear();
    list_lit_in_menu_after_game = -1;
    watch = note_tables_and_list;
    // New game, one player; the name "Ab" typed over "Player 1"; then the
    // menu that follows shows the list, and UP, action quits.
    play({"A" "UA", "A", "A" "DDR" "A" "S", always, nullptr});
    EXPECT_EQ(1, exit_requested);
    EXPECT_EQ("1a2a3a", tables_seen);
    EXPECT_EQ(0, frames_on[SCREEN_FINAL]) << "a top-ten score goes straight to name entry";
    int score = players[0].score;
    EXPECT_GT(score, 0);
    EXPECT_EQ(0, score % 50) << "only time bonuses were earned";
    EXPECT_STREQ("Ab", players[0].name);
    EXPECT_EQ(0, list_lit_in_menu_after_game) << "the next menu opens on the list, new row lit";
    EXPECT_EQ(-1, new_entry_row[0]) << "leaving the menu clears the highlight";

    std::string expected("Ab", 2);
    expected.append(18, '\0');
    char line[16];
    snprintf(line, sizeof line, "%6i\n", score);
    expected += line;
    for (int i = 1; i < 10; i++) {
        expected.append(20, '\0');
        expected += "     0\n";
    }
    EXPECT_EQ(270u, scores_file().size());
    EXPECT_TRUE(expected == scores_file());
    // As the program ends (less the launcher), so that a leak check sees
    // everything given back.
    free_assets();
    Mix_CloseAudio();
    SDL_Quit();
}

static Uint32 final_first_ms, final_last_ms;

static void time_final(Screen s) {
    if (s != SCREEN_FINAL)
        return;
    if (!final_first_ms)
        final_first_ms = now_ms();
    final_last_ms = now_ms();
    if (final_first_ms == final_last_ms)
        save_screen("/tmp/og-screens/game_over.png");
}

TEST(WholeGame, ScoreBelowTheTableShowsTheFinalScreenForFiveSeconds) {
    harness_start(5);
    for (HighScoreEntry &row : high_scores)
        row.score = 999999;
    final_first_ms = final_last_ms = 0;
    mkdir("/tmp/og-screens", 0755);
    watch = time_final;
    play({"A" "UA", "A", "", always, nullptr});
    EXPECT_EQ(1, exit_requested);
    EXPECT_GT(frames_on[SCREEN_FINAL], 100);
    EXPECT_EQ(0, frames_on[SCREEN_NAME]);
    EXPECT_GE(final_last_ms - final_first_ms, 4900u);
    EXPECT_LE(final_last_ms - final_first_ms, 5000u);
    EXPECT_EQ("", scores_file()) << "no entry, no save";
}

static void close_on_final(Screen s) {
    if (s == SCREEN_FINAL && !exit_requested) {
        close_window(now_ms());
        final_first_ms = now_ms();
    }
}

TEST(WholeGame, ClosingTheWindowEndsTheFinalScreenAtOnce) {
    harness_start(5);
    for (HighScoreEntry &row : high_scores)
        row.score = 999999;
    final_first_ms = 0;
    watch = close_on_final;
    Uint32 before = 0;
    play({"A", "A", "", always, nullptr});
    before = final_first_ms;
    EXPECT_EQ(1, exit_requested);
    EXPECT_LT(now_ms() - before, 100u) << "the game flow returned without waiting";
    EXPECT_EQ("", scores_file());
}

// ---- two players ---------------------------------------------------------------

static std::string file_at_name_entry[2];
static int name_entries_seen;

static void note_name_entries(Screen s) {
    note_tables(s);
    // The second entry begins once the first has been placed in the table.
    int entry = new_entry_row[0] == -1 ? 0 : 1;
    if (s == SCREEN_FINAL && frames_on[SCREEN_FINAL] == 1)
        save_screen("/tmp/og-screens/two_players_final.png");
    if (s == SCREEN_NAME && name_entries_seen == entry)
        file_at_name_entry[name_entries_seen++] = scores_file();
}

TEST(WholeGame, TwoPlayersBothQualifyAndTheFileIsWrittenAfterEach) {
    harness_start(11);
    tables_seen.clear();
    name_entries_seen = 0;
    mkdir("/tmp/og-screens", 0755);
    watch = note_name_entries;
    // Two players; "Ab" for the first, "C" for the second.
    play({"A" "UA", "RA", "A" "DDR" "A" "S" "RR" "A" "S", always, nullptr});
    EXPECT_EQ("1a1b2a2b3a3b", tables_seen);
    EXPECT_GT(frames_on[SCREEN_FINAL], 0) << "two players see the result first";
    ASSERT_EQ(2, name_entries_seen);
    EXPECT_EQ("", file_at_name_entry[0]);
    EXPECT_EQ(270u, file_at_name_entry[1].size()) << "saved after the first entry";
    EXPECT_EQ(std::string("Ab"), file_at_name_entry[1].substr(0, 2));
    EXPECT_TRUE(expected_file() == scores_file());
    EXPECT_STREQ("Ab", players[0].name);
    EXPECT_STREQ("C", players[1].name);
    // Each player's row holds that player's entry, best first.
    int first = players[0].score >= players[1].score ? 0 : 1;
    EXPECT_STREQ(players[first].name, high_scores[0].name);
    EXPECT_STREQ(players[1 - first].name, high_scores[1].name);
}

static int rows_lit[2];

static void note_rows(Screen s) {
    if (s == SCREEN_MENU && frames_on[SCREEN_TABLE] && rows_lit[0] == -5) {
        rows_lit[0] = new_entry_row[0];
        rows_lit[1] = new_entry_row[1];
    }
}

TEST(WholeGame, TwoPlayersBetweenTheLastRowsPushPlayerOneOut) {
    harness_start(13);
    // Row 8 cannot be reached by a time bonus, row 9 can: the first player
    // takes row 9, and the second only gets in with a higher score.
    for (int i = 0; i < 10; i++) {
        snprintf(high_scores[i].name, 20, "Old %d", i);
        high_scores[i].score = i < 9 ? 999999 - i : 1;
    }
    rows_lit[0] = -5;
    watch = note_rows;
    play({"A" "UA", "RA", "SS", always, nullptr});
    int s0 = players[0].score, s1 = players[1].score;
    ASSERT_GT(s0, 1);
    ASSERT_GT(s1, 1);
    if (s1 > s0) {
        EXPECT_EQ(-1, rows_lit[0]) << "pushed out of the table";
        EXPECT_EQ(9, rows_lit[1]);
        EXPECT_STREQ("Player 2", high_scores[9].name);
    } else {
        EXPECT_EQ(9, rows_lit[0]);
        EXPECT_EQ(-1, rows_lit[1]);
        EXPECT_STREQ("Player 1", high_scores[9].name);
    }
    EXPECT_TRUE(expected_file() == scores_file());
}

// ---- leaving and restarting during a table ----------------------------------------

static int never(void) { return 0; }

TEST(WholeGame, QuittingDuringATableSavesNothing) {
    harness_start(2);
    // START on the table, then UP (Resume to Quit) and action in the pause menu.
    play({"A" "UA", "A", "", never, "S"});
    EXPECT_EQ(1, exit_requested);
    EXPECT_EQ(1, table_number);
    EXPECT_EQ(0, frames_on[SCREEN_FINAL]);
    EXPECT_EQ(0, frames_on[SCREEN_NAME]);
    EXPECT_EQ("", scores_file());
}

struct AfterRestart {
    int seen, table, player, count, score0, score1;
};
static AfterRestart after_restart;

static int until_second_players_second_table(void) {
    return !(table_number == 2 && current_player == 1) && !after_restart.seen;
}

static void note_restart(Screen s) {
    // The first table frame of the new game: table 1 again after table 2.
    static int was_on_table_two;
    if (s == SCREEN_TABLE && table_number == 2)
        was_on_table_two = 1;
    if (s == SCREEN_TABLE && table_number == 1 && was_on_table_two && !after_restart.seen)
        after_restart = {1, table_number, current_player, player_count, players[0].score, players[1].score};
}

TEST(WholeGame, NewGameFromThePauseMenuStartsAgain) {
    harness_start(4);
    after_restart = {};
    watch = note_restart;
    // Two players until the second player's second table; there START, New
    // game, one player; then on the new game's table START and Quit.
    play({"A" "DA" "UA", "RA" "LA", "", until_second_players_second_table, "SS"});
    ASSERT_EQ(1, after_restart.seen);
    EXPECT_EQ(1, after_restart.table);
    EXPECT_EQ(0, after_restart.player);
    EXPECT_EQ(1, after_restart.count);
    EXPECT_EQ(0, after_restart.score0);
    EXPECT_EQ(0, after_restart.score1);
    EXPECT_EQ("", scores_file());
}

// Time left when the pause menu first showed, and when the table came back.
static int paused_at, resumed_at;
static Uint32 pause_began, pause_ended;

static void note_pause(Screen s) {
    if (s == SCREEN_MENU && table_number == 1 && paused_at < 0) {
        paused_at = table.time_left;
        pause_began = now_ms();
    }
    if (s == SCREEN_TABLE && paused_at >= 0 && resumed_at < 0) {
        resumed_at = table.time_left;
        pause_ended = now_ms();
    }
}

static std::string long_wait_then_resume(void) {
    // A minute in the pause menu: 400 pauses of 150 ms, then action.
    return "A" + std::string(400, '.') + "A" + "UA";
}

TEST(WholeGame, ResumeCostsOneTick) {
    harness_start(6);
    paused_at = resumed_at = -1;
    watch = note_pause;
    static std::string menu_keys = long_wait_then_resume();
    play({menu_keys.c_str(), "A", "", never, "S" "S"});
    ASSERT_GE(paused_at, 0);
    EXPECT_GE(pause_ended - pause_began, 60000u);
    EXPECT_EQ(paused_at - 1, resumed_at);
}

// ---- closing the window during name entry ------------------------------------------

TEST(WholeGame, ClosingTheWindowDuringNameEntryKeepsTheEntry) {
    harness_start(8);
    // One player types "A" and closes the window (the name keys run out).
    play({"A", "A", "A", always, nullptr});
    EXPECT_EQ(1, exit_requested);
    EXPECT_STREQ("A", high_scores[0].name);
    EXPECT_EQ(players[0].score, high_scores[0].score);
    EXPECT_TRUE(expected_file() == scores_file());
}

TEST(WholeGame, ClosingDuringTheFirstEntryStillEntersTheSecondPlayer) {
    harness_start(9);
    // Player 1's entry is closed after one typed "@"; player 2's entry then
    // accepts at once with the name player 2 already had.
    play({"A", "RA", "UA", always, nullptr});
    EXPECT_EQ(1, exit_requested);
    int first = players[0].score >= players[1].score ? 0 : 1;
    const char *names[2] = {"@", "Player 2"};
    EXPECT_STREQ(names[first], high_scores[0].name);
    EXPECT_STREQ(names[1 - first], high_scores[1].name);
    EXPECT_TRUE(expected_file() == scores_file());
}
