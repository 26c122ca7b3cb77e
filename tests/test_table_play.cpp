// Table play on the real screen and the virtual clock: choosing and pairing
// cards, the table controls, the deal and its flights, and whole tables
// driven by scripted input until time-up, take-score or a cleared table.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <algorithm>
#include <set>
#include <utility>
#include <vector>
#include "draw/table_screen.h"
#include "input/input.h"
#include "platform/pad.h"
#include "platform/audio.h"
#include "rules/bonus.h"
#include "screens/bonus_count.h"
#include "rules/cursor.h"
#include "screens/table_controls.h"
#include "rules/deck.h"
#include "screens/animate.h"
#include "rules/pairs.h"
#include "table_helpers.h"

// The sounds that the action starts.
static std::set<int> sounds_started;
static std::set<int> heard(void (*action)(void)) {
    sounds_started.clear();
    plat_sound_hook = [](int sound) { sounds_started.insert(sound); };
    action();
    plat_sound_hook = nullptr;
    return sounds_started;
}

static void choose(int first, int cursor) { table.selected_first = first; table.cursor_slot = cursor; }

static std::pair<int, int> chosen(void) { return {table.selected_first, table.selected_second}; }
static const std::pair<int, int> NONE_CHOSEN = {NO_SLOT, NO_SLOT};

TEST(TablePairs, ChoosingJudgingAndScoring) {
    // Values p and q put at slots a and b of a fresh deal, a already chosen,
    // then the action pressed with the cursor on b.
    struct Case { const char *what; int a, p, b, q, bonus, points; std::pair<int, int> chosen;
                  int sound; } cases[] = {
        {"equal", 28, 7, 29, 7, 500, 1700, NONE_CHOSEN, SOUND_CLICK2},
        {"neighbours upward", 28, 7, 29, 8, 490, 890, NONE_CHOSEN, SOUND_CLICK2},
        {"neighbours downward", 28, 8, 29, 7, 500, 900, NONE_CHOSEN, SOUND_CLICK2},
        {"king and ace", 28, 13, 29, 1, 0, 400, NONE_CHOSEN, SOUND_CLICK2},
        {"ace and king", 28, 1, 29, 13, 500, 900, NONE_CHOSEN, SOUND_CLICK2},
        {"queen and ace refused", 28, 12, 29, 1, 500, 0, NONE_CHOSEN, SOUND_NONO},
        {"seven and nine refused", 28, 7, 29, 9, 500, 0, NONE_CHOSEN, SOUND_NONO},
        {"any card may be chosen first", NO_SLOT, 0, 3, 7, 500, 0, {3, NO_SLOT}, -1},
        {"chosen again: taken back", 28, 7, 28, 7, 500, 0, NONE_CHOSEN, -1},
        {"a covered choice stays marked", 3, 7, 29, 7, 500, 0, {3, 29}, -1},
    };
    start_dealt(11);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        start_table();
        bool taken = c.points > 0;
        players[0].score = 100;
        table.pair_bonus = c.bonus;
        table.idle_ticks = 70;
        if (c.a != NO_SLOT)
            table.table_slots[c.a] = c.p;
        table.table_slots[c.b] = c.q;
        choose(c.a, c.b);
        EXPECT_EQ(heard(pick_card), c.sound >= 0 ? std::set<int>{c.sound} : std::set<int>{});
        EXPECT_EQ(players[0].score, 100 + c.points);
        EXPECT_EQ(table.equal_pairs, (int)(taken && c.p == c.q));
        EXPECT_EQ(table.adjacent_pairs, (int)(taken && c.p != c.q));
        EXPECT_EQ(chosen(), c.chosen);
        EXPECT_EQ(table.table_slots[c.b] == 0, taken);
        EXPECT_EQ(table.pair_bonus, taken ? BONUS_START : c.bonus);
        EXPECT_EQ(table.idle_ticks, taken ? 0 : 70);
        EXPECT_EQ(table.cursor_slot, taken ? 30 : c.b) << "on to the next free card rightward";
    }
}

TEST(TablePairs, StockTurnsOntoTheEmptiedWasteAndIntoTheLowestGap) {
    start_dealt(11);
    int next = table.table_slots[STOCK_TOP], after_next = table.table_slots[STOCK_TOP + 1];
    table.table_slots[30] = table.table_slots[WASTE_SLOT];
    choose(30, WASTE_SLOT);
    EXPECT_EQ(heard(pick_card).count(SOUND_CLICK1), 1u) << "the stock card turned";
    EXPECT_EQ(table.table_slots[WASTE_SLOT], next);

    // A stock press: the waste card fills the lowest gap, a new one follows.
    table.table_slots[9] = table.table_slots[4] = 0;
    table.selected_second = 32;
    table.pair_bonus = 200;
    choose(31, STOCK_TARGET);
    press_action = 1;
    table_input();
    EXPECT_EQ(table.table_slots[4], next);
    EXPECT_EQ(table.table_slots[WASTE_SLOT], after_next);
    EXPECT_EQ(table.cursor_slot, 4);
    EXPECT_EQ(chosen(), NONE_CHOSEN);
    EXPECT_EQ(table.pair_bonus, BONUS_START);

    // The last stock card used up: the waste stays empty and pairs with nothing.
    std::fill(table.table_slots + STOCK_TOP, table.table_slots + SLOT_CELLS, 0);
    table.stock_count = 0;
    table.table_slots[31] = table.table_slots[WASTE_SLOT];
    choose(31, WASTE_SLOT);
    pick_card();
    EXPECT_EQ(table.table_slots[WASTE_SLOT], 0);
    choose(28, WASTE_SLOT);
    pick_card();
    EXPECT_EQ(chosen(), std::make_pair(28, (int)WASTE_SLOT)) << "the empty waste pairs with nothing";
}

TEST(TableControls, LatchesMoveTheCursorAndDisarmTheButton) {
    struct Case { const char *what; int *latch; int gap, from, to; } cases[] = {
        {"down without a waste card", &press_down, WASTE_SLOT, 30, TAKESCORE_TARGET},
        {"up enters left of 32", &press_up, NO_SLOT, WASTE_SLOT, 31},
        {"up past empty column 3", &press_up, 31, STOCK_TARGET, 30},
        {"left below the table", &press_left, NO_SLOT, WASTE_SLOT, STOCK_TARGET},
        {"right on the table", &press_right, NO_SLOT, 30, 31},
    };
    start_dealt(11);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        start_table();
        if (c.gap != NO_SLOT)
            table.table_slots[c.gap] = 0;
        table.cursor_slot = c.from;
        table.takescore_armed = *c.latch = 1;
        EXPECT_EQ(heard(table_input).count(SOUND_CLICK3), 1u);
        EXPECT_EQ(table.cursor_slot, c.to);
        EXPECT_EQ(*c.latch + table.takescore_armed, 0) << "latch and button cleared";
    }
}

static std::vector<SlotPos> path1, path2;
static void record_flight(void) {
    if (table.moving_active)
        path1.push_back({table.moving_x, table.moving_y});
    if (table.moving2_active)
        path2.push_back({table.moving2_x, table.moving2_y});
}

TEST(TableDeal, DealsTheShuffledDeckInSlotOrderAndCardsFlyWhereTheirStepsLead) {
    harness_start(21);
    plat_frame_hook = record_flight;
    start_table();
    int deck[52];
    srand(21);
    shuffle_deck(deck);
    EXPECT_TRUE(std::equal(deck, deck + 52, table.table_slots));
    ASSERT_EQ(path1.size(), 33u * 6) << "every card flies in six steps";
    EXPECT_EQ(std::make_pair(path1[5].x, path1[5].y), std::make_pair(73, 16)) << "slot 0";
    animate_pair_away(32, WASTE_SLOT);
    EXPECT_EQ(std::make_pair(path1.back().x, path1.back().y), std::make_pair(5, 5)) << "from slot 32";
    EXPECT_EQ(std::make_pair(path2.back().x, path2.back().y), std::make_pair(5, 0)) << "from the waste";
}

// Whole tables: from the first pass of the table loop `setup` may change the
// table, then the script's buttons are pressed 60 ms apart.
static Sint32 dealt_at = -1;
static void (*setup)(void) = nullptr;
static std::vector<int> script;
static Uint32 pressed = 0, next_due = 0;
static int last_time_left = -1, banner_frames = 0;

static void run_script(void) {
    if (!table_in_play(&dealt_at))
        return;
    if (last_time_left == -1 && setup)
        setup();
    last_time_left = table.time_left;
    if (pressed < script.size() && now_ms() >= next_due) {
        tap_button(now_ms(), script[pressed++], 20);
        next_due = now_ms() + 60;
    }
}

TEST(TableGame, WithoutInputTheTimeRunsOutAfter1250Ticks) {
    start_dealt(5);
    tap_button(now_ms() + 100, BTN_A, 20);
    plat_frame_hook = [] { banner_frames += table.time_left == 0 && centred(assets.timesup); };
    play_table();
    EXPECT_EQ(chosen(), NONE_CHOSEN) << "a press during the deal counts for nothing";
    EXPECT_EQ(table.idle_ticks, TABLE_TIME) << "one idle tick for each of the table's 1250";
    EXPECT_GE(banner_frames, 2000 / 11 - 2);
    EXPECT_EQ(players[0].score, 0) << "no bonus after time-up";
    EXPECT_EQ(table_number, 2) << "the turn passes";
}

TEST(TableGame, TakingTheScoreNeedsTwoPressesAndCountsOnlyTheTime) {
    start_dealt(6);
    player_count = 2;
    // Armed, disarmed by moving away and back, armed again and taken.
    script = {BTN_DOWN, BTN_LEFT, BTN_LEFT, BTN_A, BTN_RIGHT, BTN_LEFT, BTN_A, BTN_A};
    plat_poll_hook = run_script;
    play_table();
    EXPECT_EQ(pressed, script.size()) << "the table ended at the last press";
    // 50 points for every ten ticks left or part of ten, counted from the
    // last tick seen or the one after it.
    EXPECT_TRUE(players[0].score == 50 * ((last_time_left + 9) / 10) ||
                players[0].score == 50 * ((last_time_left + 8) / 10)) << last_time_left << " ticks left";
    EXPECT_EQ(table.stock_count, 18) << "the stock is not counted";
    EXPECT_EQ(std::make_pair(current_player, table_number), std::make_pair(1, 1)) << "player 2's turn";
}

// A table cleared with time left, and one cleared by a pair whose flight
// lets the last tick come due in the same pass: both earn the cleared and
// stock bonus, and no time-up banner shows.
TEST(TableGame, ClearedTableEarnsItsBonusAndTurnsNoStockCard) {
    static int time_at_start;
    struct Case { int time_left, score, banner_frames; } cases[] = {
        {600, 1700 + 10000 + 3000 + 5000, 1000 / 11 + 60 + 5 * (250 / 11)},
        {1, 1700 + 10000 + 5000, 1000 / 11 + 5 * (250 / 11)},
    };
    harness_start(8);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.time_left);
        srand(8);
        players[0].score = 0;
        table_number = 1;
        time_at_start = c.time_left;
        // Only a pair of sevens left, no waste card, five stock cards.
        setup = [] {
            std::fill(table.table_slots, table.table_slots + STOCK_TOP, 0);
            std::fill(table.table_slots + STOCK_TOP + 5, table.table_slots + SLOT_CELLS, 0);
            table.table_slots[28] = table.table_slots[29] = 7;
            table.stock_count = 5;
            table.time_left = time_at_start;
            choose(28, 29);
        };
        script = {BTN_A};
        pressed = next_due = 0;
        last_time_left = -1;
        dealt_at = -1;
        banner_frames = 0;
        static int timesup_frames;
        timesup_frames = 0;
        plat_poll_hook = run_script;
        plat_frame_hook = [] {
            banner_frames += table.table_over && centred(assets.tablecleared);
            timesup_frames += centred(assets.timesup);
        };
        play_table();
        EXPECT_EQ(players[0].score, c.score);
        EXPECT_EQ(table_number, 2);
        EXPECT_EQ(timesup_frames, 0);
        // One second of banner, the time steps and five stock steps under it.
        EXPECT_GE(banner_frames, c.banner_frames);
    }
}
