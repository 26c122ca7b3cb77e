// A random player presses buttons through many whole tables on the virtual
// clock while every step is checked against the table's invariants. A
// failure names the seed that replays it: OG_SOAK_SEED=<seed> OG_SOAK_TABLES=1.
// OG_SOAK_TABLES raises the table count for a longer local run.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include "input/input.h"
#include "platform/pad.h"
#include "rules/pairs.h"
#include "table_helpers.h"

namespace {

// The player's own generator, so that its choices never disturb the deal's.
unsigned player_rng = 1;
int roll(int n) {
    player_rng = player_rng * 1103515245u + 12345u;
    return (int)((player_rng >> 16) % (unsigned)n);
}

// What the player knows of the table being played, and counts over all.
struct TableSeen {
    Sint32 dealt_at = -1;
    Uint32 next_press = 0;
    int presses_left = 0, removed[14] = {}, pairs_seen = 0;
} this_table;
unsigned seed;
std::string failure;
long pairs, cleared, best_score[2];

// The first broken invariant, or null. Each value is four times across
// table, waste, stock and the pairs taken, and cards leave the game only as
// one pair per step of the pair counters.
const char *fault(void) {
    int count[14] = {}, gone[2], n = 0;
    for (int v : table.table_slots) {
        if (v < 0 || v > 13)
            return "a cell holds no card value";
        count[v]++;
    }
    for (int v = 1; v <= 13; v++) {
        int missing = 4 - count[v] - this_table.removed[v];
        if (missing < 0 || n + missing > 2)
            return "a value is not four times in the game";
        while (missing-- > 0)
            gone[n++] = v;
    }
    int made = table.equal_pairs + table.adjacent_pairs - this_table.pairs_seen;
    bool one_pair = n == 2 && made == 1 && judge_pair(gone[0], gone[1]) != PAIR_REFUSED;
    if ((n || made) && !one_pair)
        return "cards left the game other than as one counted pair";
    for (int k = 0; k < n; k++)
        this_table.removed[gone[k]]++;
    this_table.pairs_seen += made;
    pairs += made;
    int *stock = table.table_slots + STOCK_TOP, m = std::find(stock, stock + 18, 0) - stock;
    if (std::count(stock + m, stock + 18, 0) != 18 - m || m != table.stock_count)
        return "the stock has a gap or differs from stock_count";
    int c = table.cursor_slot, a = table.selected_first, b = table.selected_second;
    if (c != WASTE_SLOT && c != STOCK_TARGET && c != TAKESCORE_TARGET && !is_card_free(c))
        return "the cursor is off its targets";
    if (std::min(a, b) < NO_SLOT || std::max(a, b) > WASTE_SLOT)
        return "a choice is off the table";
    // Two choices stand only when the pair failed its preconditions. The
    // second stays marked when the first is taken back, so it may be chosen
    // again as the first.
    if (a != b && is_card_free(a) && is_card_free(b))
        return "two free cards chosen but not judged";
    for (int p = 0; p < 2; p++) {
        if (players[p].score < best_score[p])
            return "a score fell";
        best_score[p] = players[p].score;
    }
    return nullptr;
}

// The slots the cursor can reach: the free card of each column, the waste.
int reach(int i) { return i < 6 ? column_free_slot(i) : WASTE_SLOT; }

// A reachable card that pairs with `slot`, or NO_SLOT.
int partner(int slot) {
    for (int i = 0; i <= 6; i++) {
        int s = reach(i);
        if (s != slot && is_card_free(s) && is_card_free(slot) &&
            judge_pair(table.table_slots[s], table.table_slots[slot]) != PAIR_REFUSED)
            return s;
    }
    return NO_SLOT;
}

// Mostly a player after pairs: presses the partner of its choice, takes
// back a choice without one, chooses a card that has a partner, or presses
// the stock; now and then any button. Later it takes the score. It walks
// right along the table, down to the waste, left along the targets below
// and up into the table.
int next_button(void) {
    static const int buttons[] = {BTN_A, BTN_A, BTN_LEFT, BTN_RIGHT, BTN_UP, BTN_DOWN, BTN_B};
    int a = table.selected_first, c = table.cursor_slot, want = NO_SLOT;
    if (this_table.presses_left-- <= 0)
        want = TAKESCORE_TARGET;
    else if (roll(10) >= 8)
        return buttons[roll(7)];
    else if (a != NO_SLOT)
        want = partner(a) != NO_SLOT ? partner(a) : a;
    for (int n = 0, i = roll(7); n < 7 && want == NO_SLOT; n++, i = (i + 1) % 7)
        if (partner(reach(i)) != NO_SLOT)
            want = reach(i);
    if (want == NO_SLOT)
        want = STOCK_TARGET;
    if (c == want)
        return BTN_A;
    if (want <= 32)
        return c > 32 ? BTN_UP : BTN_RIGHT;
    return c <= 32 ? BTN_DOWN : BTN_LEFT;
}

void player(void) {
    if (!table_in_play(&this_table.dealt_at)) {
        // Banners and the bonus count have nothing to check: let their time
        // pass at once so that each of their waits is a single frame.
        if (this_table.dealt_at != -1)
            plat_advance(250);
        return;
    }
    const char *broken = fault();
    if (broken && failure.empty())
        failure = "seed " + std::to_string(seed) + ": " + broken;
    exit_requested |= broken != nullptr;
    // The player presses only while nothing moves, so that a plan sees the
    // table it will act on; invariants are checked during animations too.
    if (now_ms() < this_table.next_press || table.moving_active || table.stock_turn_phase)
        return;
    tap_button(now_ms(), next_button(), 10 + roll(20));
    this_table.next_press = now_ms() + 40 + roll(60);
}

// Everything a table depends on comes from its seed, so that the seed alone
// replays it.
void play_one(unsigned table_seed) {
    seed = table_seed;
    this_table = TableSeen();
    player_rng = seed * 2654435761u + 1;
    // Most tables are short; every eighth is played long enough to clear.
    // Then the player heads for the take-score button.
    this_table.presses_left = seed % 8 == 7 ? 600 : 5 + roll(120);
    srand(seed);
    player_count = 1 + seed % 2;
    current_player = seed % 2;
    plat_script_clear();
    play_table();
    cleared += table_cleared();
}

unsigned env_or(const char *name, unsigned fallback) { return getenv(name) ? atoi(getenv(name)) : fallback; }

}  // namespace

TEST(TableSoak, RandomPlayKeepsTheInvariants) {
    harness_start(1);
    unsigned tables = env_or("OG_SOAK_TABLES", 200), first = env_or("OG_SOAK_SEED", 1000);
    plat_poll_hook = player;
    for (unsigned i = 0; i < tables && failure.empty(); i++)
        play_one(first + i);
    EXPECT_EQ(failure, "");
    // Over a whole run the player must really play: pairs on most tables,
    // some tables cleared.
    EXPECT_TRUE(!failure.empty() || tables < 200 || (pairs > (long)tables && cleared > 0))
        << pairs << " pairs, " << cleared << " tables cleared";
}
