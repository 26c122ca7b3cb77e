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

bool is_face(SDLKey key) { return key == SDLK_SPACE || key == SDLK_z; }

// p and q: the values under the first choice and the cursor.
struct Press { SDLKey key; int first, second, cursor, playable, bonus, p, q; };
struct Seen {
    bool in_play = false, pending = false, took_score = false;
    uint32_t next_press = 0, pressed_at = 0;
    int presses_left = 0, cards[14] = {0, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4}, pairs = 0, time_left = 0;
    long start[2] = {}, points = 0;
    Press press = {};
} seen;
unsigned seed;
int owner;  // whose table it is: the turn has passed when the bonus is checked
std::string failure;
long pairs, cleared;

// What a face button on a card or the waste leaves chosen; a judged pair of
// equal or neighbouring values (king and ace too) is taken.
std::pair<int, int> settle(const Press &p) {
    if (!is_face(p.key) || p.cursor > WASTE_SLOT)
        return {p.first, p.second};
    if (p.first == NO_SLOT || p.first == p.cursor)
        return {p.first == NO_SLOT ? p.cursor : NO_SLOT, p.second};
    if (!p.playable)  // a covered or empty choice stays marked
        return {p.first, p.cursor};
    int d = abs(p.p - p.q);
    if (d <= 1 || d == 12) {
        seen.points += (d ? 400 : 1200) + p.bonus;
        seen.cards[p.p]--, seen.cards[p.q]--, seen.pairs++, pairs++;
    }
    return {NO_SLOT, NO_SLOT};
}

// Between presses the table holds the cards no pair took, and only its
// player has scored.
const char *settled_fault(long bonus = 0) {
    int count[14] = {};
    for (int v : table.table_slots)
        count[v >= 0 && v <= 13 ? v : 0]++;
    if (!std::equal(count + 1, count + 14, seen.cards + 1) || table.equal_pairs + table.adjacent_pairs != seen.pairs)
        return "the cards are not those that the pairs taken left";
    if (players[owner].score != seen.start[owner] + seen.points + bonus || players[1 - owner].score != seen.start[1 - owner])
        return "the scores are not the model's";
    return nullptr;
}

// The slots the cursor can reach: the free card of each column, the waste.
int reach(int i) { return i < 6 ? column_free_slot(i) : WASTE_SLOT; }

int partner(int slot) {
    for (int i = 0; i <= 6; i++) {
        int s = reach(i);
        if (s != slot && is_card_free(s) && is_card_free(slot) &&
            judge_pair(table.table_slots[s], table.table_slots[slot]) != PAIR_REFUSED)
            return s;
    }
    return NO_SLOT;
}

// Mostly after pairs, now and then any key, in the end after the score; it
// walks right along the table, left along the targets below.
SDLKey next_key(void) {
    static const SDLKey any[] = {SDLK_SPACE, SDLK_SPACE, SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN, SDLK_z};
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
    if (c == want)
        return SDLK_SPACE;
    if (want <= 32)
        return c > 32 ? SDLK_UP : SDLK_RIGHT;
    return c <= 32 ? SDLK_DOWN : SDLK_LEFT;
}

void press(SDLKey key) {
    int first = table.selected_first, c = table.cursor_slot;
    seen.press = {key, first, table.selected_second, c, is_card_free(first) && is_card_free(c), table.pair_bonus,
                  first >= 0 ? table.table_slots[first] : 0, c < SLOT_CELLS ? table.table_slots[c] : 0};
    seen.pending = true;
    seen.pressed_at = now_ms();
    seen.took_score = is_face(key) && c == TAKESCORE_TARGET && table.takescore_armed;
    tap_key(now_ms(), key, 10 + (uint32_t)roll(20));
}

void fail(const char *what) {
    if (what && failure.empty())
        failure = "seed " + std::to_string(seed) + ": " + what;
    exit_requested |= what != nullptr;
}

void player(void) {
    // The loop starts its clock after the deal and the ready banner.
    if (!seen.in_play && table.cursor_slot == FIRST_CURSOR && table.last_tick_ms - table.now_ms >= 2000)
        seen.in_play = true;
    // The bonus count has nothing to press: its time passes at once.
    if (!seen.in_play || table.table_over) {
        plat_advance(table.table_over ? 250 : 0);
        return;
    }
    // The press acts once the poll that took it has drained the queue; a
    // stock press changes the choices only when it can move a card.
    if (seen.pending && now_ms() != seen.pressed_at && table.stock_turn_phase == 0 && !table.moving_active) {
        bool stock_press = is_face(seen.press.key) && seen.press.cursor == STOCK_TARGET;
        if (settle(seen.press) != std::make_pair((int)table.selected_first, (int)table.selected_second) && !stock_press)
            fail("a press left the choices other than the rules say");
        seen.pending = false;
    }
    if (!seen.pending)
        fail(settled_fault());
    seen.time_left = table.time_left;
    // Pressing only while nothing moves, it plans on the table its press meets.
    if (now_ms() < seen.next_press || table.moving_active || table.stock_turn_phase || seen.pending)
        return;
    press(next_key());
    seen.next_press = now_ms() + 40 + (uint32_t)roll(60);
}

// After the table: 10000 for a cleared table and 1000 for each stock card
// then left, 50 per started ten ticks of the time then left (the last pass
// may have counted one more tick); nothing after a time-up.
const char *bonus_fault(void) {
    if (seen.pending)
        settle(seen.press);
    bool was_cleared = table_cleared(), counted = was_cleared || seen.took_score;
    long stock = std::count_if(table.table_slots + STOCK_TOP, table.table_slots + SLOT_CELLS, [](int v) { return v; });
    for (int steps : {(seen.time_left + 9) / 10, (seen.time_left + 8) / 10})
        if (!settled_fault((was_cleared ? 10000 + 1000 * stock : 0) + (counted ? 50 * steps : 0)))
            return nullptr;
    return "the bonus is not the table's";
}

// Everything a table depends on comes from its seed, so that the seed alone
// replays it.
void play_one(unsigned table_seed) {
    seed = table_seed;
    seen = Seen();
    player_rng = seed * 2654435761u + 1;
    // Most tables are short; every eighth is played long enough to clear.
    seen.presses_left = seed % 8 == 7 ? 600 : 5 + roll(120);
    srand(seed);
    player_count = 1 + seed % 2;
    owner = current_player = seed % 2;
    table_number = 1;
    seen.start[0] = players[0].score = 1000 * (seed % 3);
    seen.start[1] = players[1].score = 777;
    plat_script_clear();
    play_table();
    if (failure.empty())
        fail(bonus_fault());
    cleared += table_cleared();
}

unsigned env_or(const char *name, unsigned fallback) { return getenv(name) ? (unsigned)atoi(getenv(name)) : fallback; }

}  // namespace

TEST(TableSoak, RandomPlayKeepsTheRules) {
    harness_start(1);
    unsigned tables = env_or("OG_SOAK_TABLES", 200), first = env_or("OG_SOAK_SEED", 1000);
    plat_poll_hook = player;
    for (unsigned i = 0; i < tables && failure.empty(); i++)
        play_one(first + i);
    EXPECT_EQ(failure, "");
    // A player that hardly pairs would prove little.
    EXPECT_TRUE(!failure.empty() || tables < 200 || (pairs > (long)tables && cleared > 0))
        << pairs << " pairs, " << cleared << " tables cleared";
}
