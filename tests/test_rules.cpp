// The table's rules without SDL: geometry, exposure, column scan, the cursor
// for every direction and kind of target, the timer's bonus decay, the
// deck, pairs and what taking one changes, and the end-of-table bonus steps.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <algorithm>
#include <set>
#include <utility>
#include <vector>
#include "rules/bonus.h"
#include "rules/cursor.h"
#include "rules/deck.h"
#include "rules/game_state.h"
#include "rules/pairs.h"
#include "rules/table_state.h"
#include "rules/timer.h"

namespace {

// A table given as the cards it holds (`only`: just the listed table cells,
// the waste empty) or as the cells it lacks (every cell but the listed ones).
struct Layout { bool only; std::vector<int> cells; };

void lay(const Layout &layout) {
    for (int s = 0; s < SLOT_CELLS; s++)
        table.table_slots[s] = !layout.only;
    for (int s : layout.cells)
        table.table_slots[s] = layout.only ? 5 : 0;
}

const Layout FULL = {false, {}}, EMPTY = {true, {}};

}  // namespace

TEST(TableRules, WhereEachSlotLiesAndWhichCardsAreFree) {
    struct Position { int slot, x, y; } positions[] = {
        {0, 70, 15}, {5, 270, 15}, {6, 85, 37}, {10, 245, 37}, {17, 85, 81}, {22, 70, 103}, {28, 85, 125},
        {32, 245, 125}, {WASTE_SLOT, 205, 190}};
    for (const Position &c : positions)
        EXPECT_EQ(std::make_pair(slot_position(c.slot).x, slot_position(c.slot).y), std::make_pair(c.x, c.y)) << c.slot;
    // Every cell but the `empty` ones holds a card.
    struct Case { std::vector<int> empty; int slot, free; } cases[] = {
        {{}, 28, 1}, {{}, WASTE_SLOT, 1}, {{33}, WASTE_SLOT, 0}, {{}, 0, 0}, {{6}, 0, 1}, {{5}, 0, 0},
        {{10}, 5, 1}, {{11}, 5, 0}, {{17}, 11, 1}, {{21}, 16, 1}, {{28}, 22, 1}, {{32}, 27, 1}, {{12}, 7, 0},
        {{13}, 7, 0}, {{12, 13}, 7, 1}, {{11}, 6, 0}, {{11, 12}, 6, 1}, {{16}, 10, 0}, {{15, 16}, 10, 1},
        {{}, NO_SLOT, 0}, {{}, STOCK_TOP, 0}, {{}, 51, 0}, {{}, STOCK_TARGET, 0}, {{}, TAKESCORE_TARGET, 0},
    };
    for (const Case &c : cases) {
        lay({false, c.empty});
        EXPECT_EQ(is_card_free(c.slot), c.free) << "slot " << c.slot << ", " << c.empty.size() << " empty";
    }
}

TEST(TableRules, ColumnScanFindsTheLowestFreeCard) {
    struct Case { Layout layout; int column, slot; } cases[] = {
        {FULL, 0, 28}, {FULL, 4, 32}, {FULL, 5, NO_SLOT}, {{false, {32}}, 5, 27}, {{false, {21, 27}}, 5, 16},
        {{false, {10, 16, 27}}, 5, 5}, {{false, {30}}, 2, NO_SLOT}, {{false, {30, 24, 25}}, 2, 19},
        {EMPTY, 0, NO_SLOT}, {EMPTY, 5, NO_SLOT},
    };
    for (const Case &c : cases) {
        lay(c.layout);
        EXPECT_EQ(column_free_slot(c.column), c.slot) << "column " << c.column;
    }
}

// L R D U as the table controls move the cursor for each key.
TEST(TableRules, CursorForEveryKeyAndKindOfTarget) {
    struct Case { const char *what; Layout layout; int from; char key; int to; } cases[] = {
        {"right", FULL, 30, 'R', 31}, {"left", FULL, 30, 'L', 29},
        {"right past covered column 5", FULL, 32, 'R', 28}, {"left past it", FULL, 28, 'L', 32},
        {"right over empty columns", {true, {31, 32}}, 32, 'R', 31},
        {"left over empty columns", {true, {31, 32}}, 31, 'L', 32},
        {"a lone card", {true, {31}}, 31, 'R', 31}, {"no free card", EMPTY, 0, 'R', WASTE_SLOT},
        {"no free card, left", {true, {0, 6}}, 27, 'L', 6}, {"row 1 over empty row 2", {true, {0, 6}}, 0, 'R', 6},
        {"high in column 5", {true, {5, 31}}, 31, 'R', 5},
        {"waste: right to take-score", FULL, WASTE_SLOT, 'R', TAKESCORE_TARGET},
        {"take-score: right to stock", FULL, TAKESCORE_TARGET, 'R', STOCK_TARGET},
        {"stock: right to waste", FULL, STOCK_TARGET, 'R', WASTE_SLOT},
        {"waste: left to stock", FULL, WASTE_SLOT, 'L', STOCK_TARGET},
        {"stock: left to take-score", FULL, STOCK_TARGET, 'L', TAKESCORE_TARGET},
        {"take-score: left to waste", FULL, TAKESCORE_TARGET, 'L', WASTE_SLOT},
        {"nowhere: right to first free", {true, {17, 3}}, NO_SLOT, 'R', 3},
        {"down to the waste card", FULL, 30, 'D', WASTE_SLOT},
        {"down to the button without one", {false, {WASTE_SLOT}}, 30, 'D', TAKESCORE_TARGET},
        {"down from nowhere", FULL, NO_SLOT, 'D', WASTE_SLOT}, {"down from 32", FULL, 32, 'D', WASTE_SLOT},
        {"nowhere: left to last free", {true, {17, 3}}, NO_SLOT, 'L', 17},
        {"down below the table stays", FULL, STOCK_TARGET, 'D', STOCK_TARGET},
        {"up: the card above the waste", FULL, WASTE_SLOT, 'U', 31},
        {"up from the stock", FULL, STOCK_TARGET, 'U', 31},
        {"up from take-score past empty column 3", {false, {31}}, TAKESCORE_TARGET, 'U', 30},
        {"up with only column 4", {true, {32}}, WASTE_SLOT, 'U', 32},
        {"up on the table stays", FULL, 29, 'U', 29},
    };
    for (const Case &c : cases) {
        lay(c.layout);
        table.cursor_slot = c.from;
        switch (c.key) {
        case 'L': cursor_sideways(0); break;
        case 'R': cursor_sideways(1); break;
        case 'D': cursor_down(); break;
        default: cursor_up();
        }
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
        table.now_ms = 777;
        for (int i = 0; i < d.ticks; i++)
            count_tick();
        EXPECT_EQ(table.pair_bonus, d.bonus) << d.ticks << " ticks";
        EXPECT_EQ(table.time_left, TABLE_TIME - d.ticks);
        EXPECT_EQ(table.last_tick_ms, 777) << "the 90 ms restart from the tick";
    }
}

// The deal's order is the deck's: 52 swaps, each with a position drawn from
// the whole deck, in turn for positions 0 to 51.
TEST(Deck, ShuffleSwapsEveryPositionWithOneDrawnFromTheWholeDeck) {
    srand(7);
    std::set<int> seen;
    for (int i = 0; i < 20000; i++)
        seen.insert(random_upto(51));
    EXPECT_EQ(seen.size(), 52u);
    EXPECT_EQ(std::make_pair(*seen.begin(), *seen.rbegin()), std::make_pair(0, 51));
    EXPECT_EQ(std::make_pair(random_upto(0), random_upto(-1)), std::make_pair(0, 0));
    for (unsigned seed : {1u, 99u}) {
        int expected[DECK_CARDS], deck[DECK_CARDS];
        for (int i = 0; i < DECK_CARDS; i++)
            expected[i] = i / 4 + 1;
        srand(seed);
        for (int k = 0; k < DECK_CARDS; k++)
            std::swap(expected[k], expected[random_upto(51)]);
        srand(seed);
        shuffle_deck(deck);
        EXPECT_TRUE(std::equal(deck, deck + DECK_CARDS, expected)) << seed;
    }
}

// A stock turn shifts the stock onto the waste; the press fills the lowest gap.
TEST(Deck, StockTurnsOntoTheWasteAndThePressFillsAGap) {
    for (int s = 0; s < SLOT_CELLS; s++)
        table.table_slots[s] = s < STOCK_TOP ? 1 : s < 51 ? s - 30 : 0;  // a stock of 4, 5, ... 20
    table.stock_count = 17;
    EXPECT_EQ(take_stock_card(), 1);
    EXPECT_EQ(table.table_slots[WASTE_SLOT], 4);
    EXPECT_EQ(std::make_pair(table.table_slots[STOCK_TOP], table.table_slots[49]), std::make_pair(5, 20));
    EXPECT_EQ(std::make_pair(table.table_slots[50], table.stock_count), std::make_pair(0, 16));
    std::fill(table.table_slots + STOCK_TOP, table.table_slots + SLOT_CELLS, 0);
    table.stock_count = 0;
    EXPECT_EQ(take_stock_card(), 0);
    EXPECT_EQ(std::make_pair(table.table_slots[WASTE_SLOT], table.stock_count), std::make_pair(4, 0));

    table.table_slots[9] = table.table_slots[4] = 0;
    table.selected_first = 3;
    table.selected_second = 7;
    EXPECT_EQ(lowest_gap(), 4);
    place_waste_card(lowest_gap());
    EXPECT_EQ(std::make_pair(table.table_slots[4], table.table_slots[WASTE_SLOT]), std::make_pair(4, 0));
    EXPECT_EQ(std::make_pair(table.cursor_slot, table.selected_first + table.selected_second), std::make_pair(4, -2));
    lay(FULL);
    EXPECT_EQ(lowest_gap(), NO_SLOT);
}

TEST(Pairs, EqualAndNeighbouringValuesPairKingAndAceToo) {
    struct Case { int p, q, kind; } cases[] = {
        {7, 7, PAIR_EQUAL}, {13, 13, PAIR_EQUAL}, {7, 8, PAIR_ADJACENT}, {8, 7, PAIR_ADJACENT},
        {13, 1, PAIR_ADJACENT}, {1, 13, PAIR_ADJACENT}, {12, 1, PAIR_REFUSED}, {1, 12, PAIR_REFUSED},
        {7, 9, PAIR_REFUSED}, {2, 13, PAIR_REFUSED},
    };
    for (const Case &c : cases)
        EXPECT_EQ(judge_pair(c.p, c.q), c.kind) << c.p << " and " << c.q;
}

// A taken pair scores for the player whose table it is and nobody else,
// restarts the bonus and the tick phase, and moves the cursor on.
TEST(Pairs, TakingAPairScoresItAndMovesOn) {
    struct Case { int player, kind, bonus, points; } cases[] = {
        {0, PAIR_EQUAL, 500, 1700}, {1, PAIR_EQUAL, 0, 1200}, {0, PAIR_ADJACENT, 490, 890}, {1, PAIR_ADJACENT, 500, 900},
    };
    for (const Case &c : cases) {
        lay(FULL);
        players[0].score = players[1].score = 100;
        current_player = c.player;
        table.pair_bonus = c.bonus;
        table.idle_ticks = 40;
        table.now_ms = 5000;
        table.last_tick_ms = 4950;
        table.equal_pairs = table.adjacent_pairs = 3;
        table.cursor_slot = 30;
        take_pair(29, 30, c.kind);
        EXPECT_EQ(players[c.player].score, 100 + c.points);
        EXPECT_EQ(players[1 - c.player].score, 100) << "the other player's score";
        EXPECT_EQ(std::make_pair(table.equal_pairs, table.adjacent_pairs),
                  c.kind == PAIR_EQUAL ? std::make_pair(4, 3) : std::make_pair(3, 4));
        EXPECT_EQ(table.table_slots[29] + table.table_slots[30], 0);
        EXPECT_EQ(std::make_pair(table.pair_bonus, table.idle_ticks), std::make_pair(500, 0));
        EXPECT_EQ(table.last_tick_ms, 5000);
        EXPECT_EQ(table.cursor_slot, 31) << "on to the next free card rightward";
    }
    // Only the 33 table cells count as the table; waste and stock do not.
    lay({true, {}});
    table.table_slots[WASTE_SLOT] = table.table_slots[STOCK_TOP] = 4;
    EXPECT_EQ(table_cleared(), 1);
    table.table_slots[32] = 4;
    EXPECT_EQ(table_cleared(), 0);
}

// 50 points per started ten ticks, 1000 per stock card, 10000 for a cleared
// table, all for the current player.
TEST(Bonus, EachStepOfTheCountScoresForThePlayerWhoseTableItWas) {
    struct Case { int time_left; std::vector<int> times; } cases[] = {
        {15, {5, 0}}, {10, {0}}, {1, {0}}, {600, {}}};
    for (const Case &c : cases) {
        players[0].score = players[1].score = 0;
        current_player = 1;
        table.time_left = c.time_left;
        int steps = 0;
        while (table.time_left > 0) {
            score_time_step();
            EXPECT_TRUE(steps >= (int)c.times.size() || table.time_left == c.times[steps]) << c.time_left;
            steps++;
        }
        EXPECT_EQ(players[1].score, 50 * ((c.time_left + 9) / 10)) << c.time_left;
        EXPECT_EQ(players[0].score, 0);
    }
    current_player = 0;
    players[0].score = 0;
    table.stock_count = 5;
    score_cleared_table();
    while (table.stock_count > 0)
        score_stock_step();
    EXPECT_EQ(players[0].score, 15000);
}

// The turn passes player by player in a two-player game, table by table.
TEST(GameState, TurnsAndNewGames) {
    struct Case { int count, player, table, next_player, next_table; } cases[] = {
        {1, 0, 1, 0, 2}, {1, 0, 3, 0, 4}, {2, 0, 2, 1, 2}, {2, 1, 2, 0, 3},
    };
    for (const Case &c : cases) {
        player_count = c.count;
        current_player = c.player;
        table_number = c.table;
        pass_turn();
        EXPECT_EQ(std::make_pair(current_player, table_number), std::make_pair(c.next_player, c.next_table));
    }
    players[0].score = players[1].score = 9;
    new_game_requested = 1;
    start_new_game();
    EXPECT_EQ(players[0].score + players[1].score + current_player + new_game_requested, 0);
    EXPECT_EQ(table_number, 1);
}
