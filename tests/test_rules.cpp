// The table's rules without SDL: geometry, exposure, column scan, cursor
// steps, the timer's bonus decay, bonus arithmetic, the random source.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <set>
#include <utility>
#include <vector>
#include "rules/cursor.h"
#include "rules/deck.h"
#include "rules/table_state.h"
#include "rules/timer.h"

// A table given as the cards it holds (`only`: just the listed table cells,
// the waste empty) or as the cells it lacks (every cell but the listed ones).
struct Layout { bool only; std::vector<int> cells; };

static void lay(const Layout &layout) {
    for (int s = 0; s < SLOT_CELLS; s++)
        table.table_slots[s] = !layout.only;
    for (int s : layout.cells)
        table.table_slots[s] = layout.only ? 5 : 0;
}

static const Layout FULL = {false, {}}, EMPTY = {true, {}};

TEST(TableRules, SlotPositions) {
    struct Case { int slot, x, y; } cases[] = {
        {0, 70, 15},   {5, 270, 15},  {6, 85, 37},    {10, 245, 37},          {17, 85, 81},
        {22, 70, 103}, {28, 85, 125}, {32, 245, 125}, {WASTE_SLOT, 205, 190},
    };
    for (const Case &c : cases) {
        SlotPos p = slot_position(c.slot);
        EXPECT_EQ(std::make_pair(p.x, p.y), std::make_pair(c.x, c.y)) << "slot " << c.slot;
    }
}

TEST(TableRules, ExposureRule) {
    // Every cell but the `empty` ones holds a card.
    struct Case { std::vector<int> empty; int slot, free; } cases[] = {
        {{}, 28, 1},      {{}, WASTE_SLOT, 1}, {{33}, WASTE_SLOT, 0}, {{}, 0, 0},        {{6}, 0, 1},
        {{5}, 0, 0},      {{10}, 5, 1},        {{11}, 5, 0},          {{17}, 11, 1},     {{21}, 16, 1},
        {{28}, 22, 1},    {{32}, 27, 1},       {{12}, 7, 0},          {{13}, 7, 0},      {{12, 13}, 7, 1},
        {{11}, 6, 0},     {{11, 12}, 6, 1},    {{16}, 10, 0},         {{15, 16}, 10, 1}, {{}, NO_SLOT, 0},
        {{}, STOCK_TOP, 0}, {{}, STOCK_TARGET, 0},
    };
    for (const Case &c : cases) {
        lay({false, c.empty});
        EXPECT_EQ(is_card_free(c.slot), c.free) << "slot " << c.slot << ", " << c.empty.size() << " empty";
    }
}

TEST(TableRules, ColumnScanFindsTheLowestFreeCard) {
    struct Case { Layout layout; int column, slot; } cases[] = {
        {FULL, 0, 28},                    {FULL, 4, 32},                {FULL, 5, NO_SLOT},
        {{false, {32}}, 5, 27},           {{false, {21, 27}}, 5, 16},   {{false, {10, 16, 27}}, 5, 5},
        {{false, {30}}, 2, NO_SLOT},      {{false, {30, 24, 25}}, 2, 19}, {EMPTY, 0, NO_SLOT},
        {EMPTY, 5, NO_SLOT},
    };
    for (const Case &c : cases) {
        lay(c.layout);
        EXPECT_EQ(column_free_slot(c.column), c.slot) << "column " << c.column;
    }
}

TEST(TableRules, CursorSteps) {
    struct Case { const char *what; Layout layout; int from, direction, to; } cases[] = {
        {"right", FULL, 30, 1, 31},                            {"left", FULL, 30, 0, 29},
        {"right past covered column 5", FULL, 32, 1, 28},      {"left past it", FULL, 28, 0, 32},
        {"right over empty columns", {true, {31, 32}}, 32, 1, 31},
        {"left over empty columns", {true, {31, 32}}, 31, 0, 32},
        {"a lone card", {true, {31}}, 31, 1, 31},             {"an empty table", EMPTY, 0, 1, WASTE_SLOT},
        {"row 1 over empty row 2", {true, {0, 6}}, 0, 1, 6},  {"high in column 5", {true, {5, 31}}, 31, 1, 5},
        {"from the waste: first free", {true, {17, 3}}, WASTE_SLOT, 1, 3},
        {"from the button: last free", {true, {17, 3}}, TAKESCORE_TARGET, 0, 17},
        {"from the button to the empty waste", EMPTY, TAKESCORE_TARGET, 0, WASTE_SLOT},
    };
    for (const Case &c : cases) {
        lay(c.layout);
        table.cursor_slot = c.from;
        cursor_move(c.direction);
        EXPECT_EQ(table.cursor_slot, c.to) << c.what;
    }
}

TEST(TableRules, TimerTicksAfterMoreThanNinetyMsAndThePairBonusDecaysAfterTwentyIdleTicks) {
    struct Due { int last, now, due; } dues[] = {
        {1000, 1090, 0}, {1000, 1091, 1}, {1000, 1000, 0},
        {0x7fffffc0, (int)0x80000010u, 0}, {0x7fffffc0, (int)0x80000020u, 1},  // a wrapped clock
    };
    for (const Due &d : dues) {
        table.last_tick_ms = d.last;
        table.now_ms = d.now;
        EXPECT_EQ(tick_due(), d.due) << d.last << " -> " << d.now;
    }
    struct Decay { int ticks, bonus; } decay[] = {{1, 500}, {20, 500}, {21, 490}, {69, 10}, {70, 0}, {500, 0}};
    for (const Decay &d : decay) {
        table.pair_bonus = BONUS_START;
        table.idle_ticks = 0;
        table.time_left = TABLE_TIME;
        for (int i = 0; i < d.ticks; i++)
            count_tick();
        EXPECT_EQ(table.pair_bonus, d.bonus) << d.ticks << " ticks";
        EXPECT_EQ(table.time_left, TABLE_TIME - d.ticks);
    }
}

TEST(TableRules, RandomUptoCoversItsRangeAndAnswersZeroBelowOne) {
    srand(7);
    std::set<int> seen;
    for (int i = 0; i < 20000; i++)
        seen.insert(random_upto(51));
    EXPECT_EQ(seen.size(), 52u);
    EXPECT_EQ(std::make_pair(*seen.begin(), *seen.rbegin()), std::make_pair(0, 51));
    EXPECT_EQ(std::make_pair(random_upto(0), random_upto(-1)), std::make_pair(0, 0));
}
