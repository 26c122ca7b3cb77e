// The table's rules without SDL: geometry, exposure, column scan, cursor
// steps, pair judging, the timer's bonus decay, bonus arithmetic, the shuffle.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <vector>
#include "table/bonus.h"
#include "table/controls.h"
#include "table/deal.h"
#include "table/pairing.h"
#include "table/table_loop.h"
#include "table/table_state.h"

// Every table cell and the waste hold a 1, the stock holds 18 cards, and the
// listed table cells are empty.
static void table_with_gaps(const std::vector<int> &empty) {
    for (int s = 0; s < SLOT_CELLS; s++)
        table.table_slots[s] = 1;
    table.stock_count = 18;
    for (int s : empty)
        table.table_slots[s] = 0;
}

// Only the listed table cells hold a card; the waste is empty.
static void table_with_only(const std::vector<int> &present) {
    for (int s = 0; s < SLOT_CELLS; s++)
        table.table_slots[s] = 0;
    for (int s : present)
        table.table_slots[s] = 5;
}

TEST(TableRules, SlotRowsAndPositions) {
    struct Case { int slot, row, x, y; } cases[] = {
        {0, 0, 70, 15},   {5, 0, 270, 15},  {6, 1, 85, 37},   {10, 1, 245, 37},
        {11, 2, 70, 59},  {16, 2, 270, 59}, {17, 3, 85, 81},  {21, 3, 245, 81},
        {22, 4, 70, 103}, {27, 4, 270, 103}, {28, 5, 85, 125}, {32, 5, 245, 125},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.slot);
        EXPECT_EQ(slot_row(c.slot), c.row);
        SlotPos p = slot_position(c.slot);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
    }
    SlotPos waste = slot_position(WASTE_SLOT);
    EXPECT_EQ(waste.x, 205);
    EXPECT_EQ(waste.y, 190);
}

TEST(TableRules, ExposureRule) {
    struct Case { const char *what; std::vector<int> empty; int slot, free; } cases[] = {
        {"bottom row always", {}, 28, 1},
        {"bottom row end", {}, 32, 1},
        {"waste with a card", {}, 33, 1},
        {"waste empty", {33}, 33, 0},
        {"covered first card", {}, 0, 0},
        {"empty cell", {6, 0}, 0, 0},
        {"slot 0 needs only 6", {6}, 0, 1},
        {"slot 0 ignores 5", {5}, 0, 0},
        {"slot 5 needs only 10", {10}, 5, 1},
        {"slot 5 ignores 11", {11}, 5, 0},
        {"slot 11 needs only 17", {17}, 11, 1},
        {"slot 16 needs only 21", {21}, 16, 1},
        {"slot 22 needs only 28", {28}, 22, 1},
        {"slot 27 needs only 32", {32}, 27, 1},
        {"slot 7 with 13 present", {12}, 7, 0},
        {"slot 7 with 12 present", {13}, 7, 0},
        {"slot 7 uncovered", {12, 13}, 7, 1},
        {"slot 6 (odd row) needs 11 and 12", {11}, 6, 0},
        {"slot 6 uncovered", {11, 12}, 6, 1},
        {"slot 10 (odd row end) needs 15 and 16", {15, 16}, 10, 1},
        {"slot 10 half covered", {16}, 10, 0},
        {"none", {}, -1, 0},
        {"stock picture", {}, STOCK_TARGET, 0},
        {"take-score button", {}, TAKESCORE_TARGET, 0},
        {"stock top", {}, STOCK_TOP, 0},
        {"stock bottom", {}, 51, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        table_with_gaps(c.empty);
        EXPECT_EQ(is_card_free(c.slot), c.free);
    }
}

TEST(TableRules, ColumnScanFindsTheLowestFreeCard) {
    struct Case { const char *what; std::vector<int> empty; int column, slot; } cases[] = {
        {"full table column 0", {}, 0, 28},
        {"full table column 4", {}, 4, 32},
        {"full table column 5: 27 is covered by 32", {}, 5, -1},
        {"column 5 with 32 gone", {32}, 5, 27},
        {"column 5 skips a blocked 27 for 16", {21, 27}, 5, 16},
        {"column 5 reaches row 0", {10, 16, 27}, 5, 5},
        {"column 2 bottom gone, 24 blocked by 29", {30}, 2, -1},
        {"column 2 with 24 and 25 gone", {30, 24, 25}, 2, 19},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        table_with_gaps(c.empty);
        EXPECT_EQ(column_free_slot(c.column), c.slot);
    }
    // 27 and 32 present, 21 empty: column 5 finds 16 although 27 is there.
    table_with_only({27, 32, 16, 5, 10});
    EXPECT_EQ(column_free_slot(5), 16);
    table_with_only({});
    for (int c = 0; c < 6; c++)
        EXPECT_EQ(column_free_slot(c), -1) << "column " << c;
}

TEST(TableRules, CursorSteps) {
    struct Case {
        const char *what;
        std::vector<int> present;  // empty list: a full table
        int from, direction, to;
    } cases[] = {
        {"right to the next column", {}, 30, 1, 31},
        {"left to the previous column", {}, 30, 0, 29},
        {"right from column 4 skips blocked column 5 and wraps", {}, 32, 1, 28},
        {"left from column 0 wraps past blocked column 5", {}, 28, 0, 32},
        {"right between the last two cards", {31, 32}, 31, 1, 32},
        {"right from 32 wraps back to 31", {31, 32}, 32, 1, 31},
        {"left from 31 wraps to 32", {31, 32}, 31, 0, 32},
        {"a lone card stays where it is", {31}, 31, 1, 31},
        {"an empty table sends the cursor to the waste", {-1}, 0, 1, 33},
        {"row 1 card free once row 2 below is gone", {0, 6}, 0, 1, 6},
        {"empty table, left", {-1}, 30, 0, 33},
        {"from the waste rightward: first free slot", {17, 3}, 33, 1, 3},
        {"from the waste leftward: last free slot", {17, 3}, 33, 0, 17},
        {"from -1 rightward", {}, -1, 1, 28},
        {"from the button with nothing free: the waste", {-1}, 54, 0, 33},
        {"covered column skipped, landing high in column 5", {5, 31}, 31, 1, 5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.present.empty())
            table_with_gaps({});
        else
            table_with_only(c.present.size() == 1 && c.present[0] == -1 ? std::vector<int>{}
                                                                       : c.present);
        table.cursor_slot = c.from;
        cursor_move(c.direction);
        EXPECT_EQ(table.cursor_slot, c.to);
    }
}

TEST(TableRules, JudgingPairs) {
    struct Case { int p, q, kind, points; } cases[] = {
        {7, 7, PAIR_EQUAL, 1200},     {7, 8, PAIR_ADJACENT, 400},  {8, 7, PAIR_ADJACENT, 400},
        {1, 13, PAIR_ADJACENT, 400},  {13, 1, PAIR_ADJACENT, 400}, {1, 2, PAIR_ADJACENT, 400},
        {13, 12, PAIR_ADJACENT, 400}, {12, 1, PAIR_REFUSED, 0},    {1, 12, PAIR_REFUSED, 0},
        {7, 9, PAIR_REFUSED, 0},      {13, 11, PAIR_REFUSED, 0},   {13, 13, PAIR_EQUAL, 1200},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.p << " and " << c.q);
        EXPECT_EQ(judge_pair(c.p, c.q), c.kind);
        EXPECT_EQ(pair_points(judge_pair(c.p, c.q)), c.points);
    }
}

TEST(TableRules, PairBonusDecaysAfterTwentyIdleTicks) {
    struct Case { int ticks, bonus; } cases[] = {
        {1, 500}, {20, 500}, {21, 490}, {22, 480}, {69, 10}, {70, 0}, {71, 0}, {500, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.ticks);
        table.pair_bonus = BONUS_START;
        table.idle_ticks = 0;
        table.time_left = TABLE_TIME;
        for (int i = 0; i < c.ticks; i++)
            count_tick();
        EXPECT_EQ(table.pair_bonus, c.bonus);
        EXPECT_EQ(table.time_left, TABLE_TIME - c.ticks);
        EXPECT_EQ(table.idle_ticks, c.ticks);
    }
}

TEST(TableRules, TickIsDueAfterMoreThanNinetyMilliseconds) {
    struct Case { int last, now, due; } cases[] = {
        {1000, 1090, 0}, {1000, 1091, 1}, {1000, 5000, 1}, {1000, 1000, 0},
        {0x7fffffc0, (int)0x80000010u, 0}, {0x7fffffc0, (int)0x80000020u, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.last << " -> " << c.now);
        table.last_tick_ms = c.last;
        table.now_ms = c.now;
        EXPECT_EQ(tick_due(), c.due);
    }
}

TEST(TableRules, BonusArithmetic) {
    struct Case { int cleared, time_left, stock, points; } cases[] = {
        {1, 600, 5, 18000}, {0, 600, 5, 3000}, {0, 15, 0, 100}, {0, 10, 0, 50},
        {0, 1, 0, 50},      {0, 0, 0, 0},      {1, 0, 18, 28000}, {1, 1249, 0, 16250},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.cleared << " " << c.time_left << " " << c.stock);
        EXPECT_EQ(table_bonus_points(c.cleared, c.time_left, c.stock), c.points);
    }
}

TEST(TableRules, RandomUptoStaysInRange) {
    srand(7);
    int seen_low = 0, seen_high = 0;
    for (int i = 0; i < 20000; i++) {
        int r = random_upto(51);
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 51);
        seen_low |= r == 0;
        seen_high |= r == 51;
        ASSERT_EQ(random_upto(0), 0);
    }
    EXPECT_TRUE(seen_low && seen_high);
    EXPECT_EQ(random_upto(-1), 0);  // no division by zero
}

TEST(TableRules, ShuffleKeepsFourOfEachAndFollowsTheSeed) {
    int first[52], again[52], other[52];
    srand(42);
    shuffle_deck(first);
    srand(42);
    shuffle_deck(again);
    srand(43);
    shuffle_deck(other);
    int count[14] = {};
    for (int v : first) {
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 13);
        count[v]++;
    }
    for (int v = 1; v <= 13; v++)
        EXPECT_EQ(count[v], 4) << "value " << v;
    EXPECT_TRUE(std::equal(first, first + 52, again));
    EXPECT_FALSE(std::equal(first, first + 52, other));
}
