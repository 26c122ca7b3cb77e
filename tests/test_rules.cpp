// The table's rules without SDL: the screens play them end to end, these pin their edges.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string>
#include <vector>
#include "rules/cursor.h"
#include "rules/deck.h"
#include "rules/pairs.h"
#include "rules/table_state.h"
#include "rules/timer.h"

namespace {

// Every cell holds a card but the listed ones, or (`only`) only the listed table cells do.
struct Layout { bool only; std::vector<int> cells; };
const Layout FULL = {false, {}}, EMPTY = {true, {}};

void lay(const Layout &layout) {
    for (int s = 0; s < SLOT_CELLS; s++)
        table.table_slots[s] = !layout.only;
    for (int s : layout.cells)
        table.table_slots[s] = layout.only;
}

}  // namespace

// Exposure is judged against the geometry it comes from: a card is free when no card of the next row (22 pixels
// lower) overlaps it, cards being 36 wide.
TEST(TableRules, WhereEachSlotLiesAndWhichCardsAreFree) {
    struct Position { int slot, x, y; } positions[] = {{0, 70, 15}, {17, 85, 81}, {32, 245, 125}, {WASTE_SLOT, 205, 190}};
    for (const Position &p : positions)
        EXPECT_EQ(std::make_pair(slot_position(p.slot).x, slot_position(p.slot).y), std::make_pair(p.x, p.y)) << p.slot;
    srand(5);
    for (int n = 0; n < 300; n++) {
        for (int32_t &v : table.table_slots)
            v = rand() % 2 * 7;
        for (int s = NO_SLOT; s <= TAKESCORE_TARGET; s++) {  // the stock and the targets below are never free
            SlotPos at = slot_position(s);
            bool free = s >= 0 && s <= WASTE_SLOT && table.table_slots[s] != 0;
            for (int t = 0; t < TABLE_SLOTS; t++)
                free &= !table.table_slots[t] || slot_position(t).y != at.y + 22 || abs(slot_position(t).x - at.x) >= 36;
            ASSERT_EQ(is_card_free(s), free) << "slot " << s << " of table " << n;
        }
    }
}

TEST(TableRules, CursorForEveryKeyAndKindOfTarget) {
    const int W = WASTE_SLOT, S = STOCK_TARGET, T = TAKESCORE_TARGET, N = NO_SLOT;
    struct Case { Layout layout; int from; char key; int to; } cases[] = {
        {FULL, 30, 'R', 31}, {FULL, 30, 'L', 29}, {FULL, 32, 'R', 28}, {FULL, 28, 'L', 32}, {EMPTY, 0, 'R', W},
        {{true, {31, 32}}, 32, 'R', 31}, {{true, {31, 32}}, 31, 'L', 32}, {{true, {31}}, 31, 'R', 31}, {EMPTY, N, 'L', W},
        {{true, {0, 6}}, 27, 'L', 6}, {{true, {0, 6}}, 0, 'R', 6}, {{true, {0, 7}}, 0, 'R', 7}, {{true, {5, 31}}, 31, 'R', 5},
        {{true, {17, 3}}, N, 'R', 3}, {{true, {17, 3}}, N, 'L', 17}, {{false, {31}}, T, 'U', 30}, {{true, {32}}, W, 'U', 32},
        {FULL, W, 'R', T}, {FULL, T, 'R', S}, {FULL, S, 'R', W}, {FULL, W, 'L', S}, {FULL, S, 'L', T}, {FULL, T, 'L', W},
        {{false, {W}}, 30, 'D', T}, {FULL, 32, 'D', W}, {FULL, T, 'D', T}, {FULL, 29, 'U', 29}, {FULL, W, 'U', 31},
    };
    for (const Case &c : cases) {
        lay(c.layout);
        table.cursor_slot = c.from;
        c.key == 'D' ? cursor_down() : c.key == 'U' ? cursor_up() : cursor_sideways(c.key == 'R');
        EXPECT_EQ(table.cursor_slot, c.to) << c.key << " from " << c.from << ", case " << &c - cases;
    }
}

// Both sides of the 90 ms edge, also where the clock passes INT32_MAX; a tick keeps its time and counts down. (The
// bonus's decay is worked out by the soak's model on every pair.)
TEST(TableRules, TickDue) {
    struct Due { int last, now, due; } dues[] = {
        {1000, 1090, 0}, {1000, 1091, 1}, {1000, 1000, 0}, {0x7fffffc0, (int)0x80000010u, 0}, {0x7fffffc0, (int)0x80000020u, 1}};
    for (const Due &d : dues) {
        table.last_tick_ms = d.last, table.now_ms = d.now, table.time_left = 5;
        EXPECT_EQ(tick_due(), d.due) << d.last << " -> " << d.now;
        count_tick();
        EXPECT_EQ(std::make_pair(table.last_tick_ms, table.time_left), std::make_pair(d.now, 4));
    }
}

// A seed deals the same deck everywhere: 52 swaps of card k with one that random_upto draws from the whole deck.
TEST(Deck, ShuffleSwapsEveryPositionWithOneDrawnFromTheWholeDeck) {
    EXPECT_EQ(std::make_pair(random_upto(0), random_upto(-1)), std::make_pair(0, 0));
    int deck[DECK_CARDS];
    std::string dealt;
    srand(99);
    shuffle_deck(deck);
    for (int v : deck)
        dealt += "A23456789TJQK"[v - 1];
    EXPECT_EQ(dealt, "6QK856495TAKQJ72694JQ37229J89K53AJQK5838A774T2TT3A46");
}

// Only the table's cells count towards clearing it, not the waste or the stock.
TEST(Pairs, ATableIsClearedWhateverTheWasteAndTheStockHold) {
    lay({true, {WASTE_SLOT, STOCK_TOP}});
    EXPECT_EQ(table_cleared(), 1);
    table.table_slots[32] = 4;
    EXPECT_EQ(table_cleared(), 0);
}
