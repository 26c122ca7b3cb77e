// A seeded player presses keys through many whole tables on the virtual
// clock; every press is checked against a model of the rules: what it leaves
// chosen, the pairs it takes, the cards left, every score. OG_SOAK_TABLES sets
// the number of tables (200); a failure names the seed that replays it:
// OG_SOAK_SEED=<seed> OG_SOAK_TABLES=1.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include <utility>
#include "harness.h"
#include "rules/pairs.h"
#include "rules/table_state.h"
#include "screens/table_loop.h"

namespace {

// The player's own generator: the same with any compiler, and its choices
// never disturb the deal's rand().
unsigned player_rng;
int roll(int n) {
    player_rng = player_rng * 1103515245u + 12345u;
    return (int)((player_rng >> 16) % (unsigned)n);
}

struct Seen {
    uint32_t next_press = 0, pressed_at = 0;  // pressed_at: of the press not yet checked, or 0
    int in_play = 0, took_score = 0, presses_left = 0, pairs = 0, time_left = 0;
    int cards[14] = {0, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4};
    long start[2] = {}, points = 0;
    std::pair<int, int> chosen;  // what the pending press is to leave chosen
} seen;
unsigned seed;  // its parity is whose table it is
std::string failure;
long pairs, cleared;

// What `key` leaves chosen: the stock filling the lowest gap drops both
// choices; a face button on a card or the waste chooses, and a judged pair of
// equal or neighbouring values (king and ace too) is taken.
std::pair<int, int> settle(SDLKey key) {
    int first = table.selected_first, c = table.cursor_slot;
    if (key == SDLK_SPACE && c == STOCK_TARGET && table.table_slots[STOCK_TOP] &&
        std::count(table.table_slots, table.table_slots + TABLE_SLOTS, 0))
        return {NO_SLOT, NO_SLOT};
    if (key != SDLK_SPACE || c > WASTE_SLOT)
        return {first, table.selected_second};
    if (first == NO_SLOT || first == c)
        return {first == NO_SLOT ? c : NO_SLOT, table.selected_second};
    if (!is_card_free(first) || !is_card_free(c))  // a covered or empty choice stays marked
        return {first, c};
    int p = table.table_slots[first], q = table.table_slots[c], d = abs(p - q);
    if (d <= 1 || d == 12) {
        seen.points += (d ? 400 : 1200) + table.pair_bonus;
        seen.cards[p]--, seen.cards[q]--, seen.pairs++, pairs++;
    }
    return {NO_SLOT, NO_SLOT};
}

// Between presses the table holds the cards no pair took, and only its
// player has scored (the turn has passed when the bonus is checked).
bool settled(long bonus = 0) {
    int count[14] = {}, p = seed % 2;
    for (int v : table.table_slots)
        count[v >= 0 && v <= 13 ? v : 0]++;
    return std::equal(count + 1, count + 14, seen.cards + 1) && table.equal_pairs + table.adjacent_pairs == seen.pairs &&
           players[p].score == seen.start[p] + seen.points + bonus && players[1 - p].score == seen.start[1 - p];
}

// The slots the cursor can reach: the free card of each column, the waste.
int reach(int i) { return i < 6 ? column_free_slot(i) : WASTE_SLOT; }

int partner(int slot) {
    for (int i = 0; i <= 6; i++)
        if (int s = reach(i); s != slot && is_card_free(s) && is_card_free(slot) &&
                              judge_pair(table.table_slots[s], table.table_slots[slot]) != PAIR_REFUSED)
            return s;
    return NO_SLOT;
}

// Mostly after pairs, now and then any key, in the end after the score; it
// walks right along the table, left along the targets below.
SDLKey next_key(void) {
    static const SDLKey any[] = {SDLK_SPACE, SDLK_SPACE, SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN, SDLK_SPACE};
    int a = table.selected_first, c = table.cursor_slot, want = NO_SLOT;
    if (seen.presses_left-- <= 0)
        want = TAKESCORE_TARGET;
    else if (roll(10) >= 8)
        return any[roll(7)];
    else if (a != NO_SLOT)
        want = partner(a) != NO_SLOT ? partner(a) : a;  // a choice without a partner is taken back
    for (int n = 0, i = roll(7); n < 7 && want == NO_SLOT; n++, i = (i + 1) % 7)
        if (partner(reach(i)) != NO_SLOT)
            want = reach(i);
    if (want == NO_SLOT)
        want = STOCK_TARGET;
    return c == want ? SDLK_SPACE : want <= 32 ? (c > 32 ? SDLK_UP : SDLK_RIGHT) : (c <= 32 ? SDLK_DOWN : SDLK_LEFT);
}

void fail(const char *what) {
    if (failure.empty())
        failure = "seed " + std::to_string(seed) + ": " + what;
    exit_requested = 1;
}

void player(void) {
    // The loop starts its clock after the deal and the ready banner.
    seen.in_play |= table.cursor_slot == FIRST_CURSOR && table.last_tick_ms - table.now_ms >= 2000;
    // The bonus count has nothing to press: its time passes at once.
    if (!seen.in_play || table.table_over)
        return plat_advance(table.table_over ? 250 : 0);
    // The press acts once the poll that took it has drained the queue.
    if (seen.pressed_at && now_ms() != seen.pressed_at && table.stock_turn_phase == 0 && !table.moving_active) {
        if (seen.chosen != std::make_pair((int)table.selected_first, (int)table.selected_second))
            fail("a press left the choices other than the rules say");
        seen.pressed_at = 0;
    }
    if (!seen.pressed_at && !settled())
        fail("the cards or the scores are not the model's");
    seen.time_left = table.time_left;
    // Pressing only while nothing moves, it plans on the table its press meets.
    if (now_ms() < seen.next_press || table.moving_active || table.stock_turn_phase || seen.pressed_at)
        return;
    SDLKey key = next_key();
    seen.chosen = settle(key);
    seen.took_score = key == SDLK_SPACE && table.cursor_slot == TAKESCORE_TARGET && table.takescore_armed;
    seen.pressed_at = now_ms();
    tap_key(now_ms(), key, 10 + (uint32_t)roll(20));
    seen.next_press = now_ms() + 40 + (uint32_t)roll(60);
}

unsigned env_or(const char *name, unsigned fallback) { return getenv(name) ? (unsigned)atoi(getenv(name)) : fallback; }

}  // namespace

TEST(TableSoak, RandomPlayKeepsTheRules) {
    harness_start(1);
    unsigned tables = env_or("OG_SOAK_TABLES", 200), first = env_or("OG_SOAK_SEED", 1000);
    plat_poll_hook = player;
    for (seed = first; seed < first + tables && failure.empty(); seed++) {
        // Everything a table depends on comes from its seed, so that the seed
        // alone replays it.
        seen = Seen();
        player_rng = seed * 2654435761u + 1;
        // Most tables are short; every eighth is played long enough to clear.
        seen.presses_left = seed % 8 == 7 ? 600 : 5 + roll(120);
        srand(seed);
        player_count = 1 + seed % 2;
        current_player = seed % 2;
        table_number = 1;
        seen.start[0] = players[0].score = 1000 * (seed % 3);
        seen.start[1] = players[1].score = 777;
        plat_script_clear();
        play_table();
        // After the table: 10000 for a cleared table and 1000 for each stock
        // card then left, 50 per started ten ticks of the time then left (the
        // last pass may have counted one more tick); nothing after a time-up.
        long stock = std::count_if(table.table_slots + STOCK_TOP, table.table_slots + SLOT_CELLS, [](int v) { return v; });
        long bonus = table_cleared() ? 10000 + 1000 * stock : 0, step = table_cleared() || seen.took_score ? 50 : 0;
        if (failure.empty() && !settled(bonus + step * ((seen.time_left + 9) / 10)) &&
            !settled(bonus + step * ((seen.time_left + 8) / 10)))
            fail("the bonus is not the table's");
        cleared += table_cleared();
    }
    EXPECT_EQ(failure, "");
    // A player that hardly pairs would prove little.
    EXPECT_TRUE(!failure.empty() || tables < 200 || (pairs > (long)tables && cleared > 0))
        << pairs << " pairs, " << cleared << " tables cleared";
}
