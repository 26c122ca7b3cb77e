// A seeded player presses keys through whole tables, each press checked against a model of the rules: choices,
// pairs, points, cards, scores, clock. OG_SOAK_TABLES (200) tables; OG_SOAK_SEED=<seed> replays a failure.
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

// The player's own generator: the same with any compiler, and its choices never disturb the deal's rand().
unsigned player_rng;
int roll(int n) { return (int)(((player_rng = player_rng * 1103515245u + 12345u) >> 16) % (unsigned)n); }

struct Seen {
    uint32_t next_press = 0, pressed_at = 0;  // pressed_at: of the press not yet checked, or 0
    int in_play = 0, took_score = 0, presses_left = 0, pairs = 0, ticks = 0, idle = 0, pass_ms = 0, tick_ms = 0;
    int cards[14] = {0, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4};
    long start[2] = {}, points = 0;
    std::pair<int, int> chosen;  // what the pending press is to leave chosen
} seen;
unsigned seed;  // its parity is whose table it is
std::string failure;
long pairs, cleared;

// The bonus holds 500 for 20 idle ticks, then loses 10 a tick to 0. A pair, or a stock press that places a card,
// restarts it and the 90 ms to the next tick, from the loop's previous pass.
int pair_bonus(void) { return std::clamp(500 - 10 * (seen.idle - 20), 0, 500); }
std::pair<int, int> restart(void) { return seen.idle = 0, seen.tick_ms = seen.pass_ms, std::pair(NO_SLOT, NO_SLOT); }

// What `key` leaves chosen: the stock filling a gap drops both choices; a face button on a card chooses, and a
// pair of equal or neighbouring values (king and ace too) is taken.
std::pair<int, int> settle(SDLKey key) {
    int first = table.selected_first, c = table.cursor_slot;
    if (key == SDLK_SPACE && c == STOCK_TARGET && table.table_slots[STOCK_TOP] &&
        std::count(table.table_slots, table.table_slots + TABLE_SLOTS, 0))
        return restart();
    if (key != SDLK_SPACE || c > WASTE_SLOT)
        return {first, table.selected_second};
    if (first == NO_SLOT || first == c)
        return {first == NO_SLOT ? c : NO_SLOT, table.selected_second};
    if (!is_card_free(first) || !is_card_free(c))  // a covered or empty choice stays marked
        return {first, c};
    int p = table.table_slots[first], q = table.table_slots[c], d = abs(p - q);
    if (d > 1 && d != 12)
        return {NO_SLOT, NO_SLOT};
    seen.points += (d ? 400 : 1200) + pair_bonus(), seen.cards[p]--, seen.cards[q]--, seen.pairs++, pairs++;
    return restart();
}

// Between presses the table holds the cards no pair took and only its player has scored (the turn passes later).
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

// Mostly after pairs, now and then any key, in the end after the score; it walks right on the table, left below it.
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
    if (want == NO_SLOT)  // no pair in sight: to the stock, now and then after a pause that lets the bonus decay
        want = STOCK_TARGET, seen.next_press += c != want && roll(8) == 0 ? 2000 + 500 * (uint32_t)roll(10) : 0;
    return c == want ? SDLK_SPACE : want <= 32 ? (c > 32 ? SDLK_UP : SDLK_RIGHT) : (c <= 32 ? SDLK_DOWN : SDLK_LEFT);
}

void fail(const char *what) {
    failure = failure.empty() ? "seed " + std::to_string(seed) + ": " + what : failure;
    exit_requested = 1;
}

void player(void) {
    // The clock starts after the deal and banner; a tick comes at the first pass more than 90 ms after the last.
    if (!seen.in_play && table.cursor_slot == FIRST_CURSOR && table.last_tick_ms - table.now_ms >= 2000)
        seen.in_play = 1, seen.pass_ms = table.now_ms, seen.tick_ms = (int)now_ms();
    if (seen.in_play && seen.pass_ms != table.now_ms && (seen.pass_ms = table.now_ms) > seen.tick_ms + 90)
        seen.tick_ms = seen.pass_ms, seen.ticks++, seen.idle++;
    // The bonus count has nothing to press: its time passes at once.
    if (!seen.in_play || table.table_over)
        return plat_advance(table.table_over ? 250 : 0);
    // The press acts once the poll that took it has drained the queue.
    if (seen.pressed_at && now_ms() != seen.pressed_at && table.stock_turn_phase == 0 && !table.moving_active) {
        if (seen.chosen != std::make_pair((int)table.selected_first, (int)table.selected_second))
            fail("a press left the choices other than the rules say");
        seen.pressed_at = 0;
    }
    if ((!seen.pressed_at && !settled()) || table.time_left != 1250 - seen.ticks)
        fail("the cards, the scores or the clock are not the model's");
    // It presses only while nothing moves; a pause passes in 20 ms steps, not the handheld's 1 ms passes.
    if (now_ms() < seen.next_press || table.moving_active || table.stock_turn_phase || seen.pressed_at)
        return plat_advance(!seen.pressed_at && now_ms() + 100 < seen.next_press ? 20 : 0);
    seen.next_press = now_ms() + 40 + (uint32_t)roll(60);
    SDLKey key = next_key();
    seen.chosen = settle(key);
    seen.took_score = key == SDLK_SPACE && table.cursor_slot == TAKESCORE_TARGET && table.takescore_armed;
    tap_key(seen.pressed_at = now_ms(), key, 10 + (uint32_t)roll(20));
}

// A setting, when given, is a whole decimal number from `least` to 2^32-1.
void setting(const char *name, unsigned long long least, unsigned long long *value) {
    const char *text = getenv(name);
    char *end = nullptr;
    *value = text && *text >= '0' && *text <= '9' ? strtoull(text, &end, 10) : *value;
    if (text && (!end || *end || *value < least || *value > UINT32_MAX))
        FAIL() << name << "=\"" << text << "\" is not a whole number from " << least << " to 4294967295";
}

}  // namespace

TEST(TableSoak, RandomPlayKeepsTheRules) {
    unsigned long long first = 1000, tables = 200;
    ASSERT_NO_FATAL_FAILURE((setting("OG_SOAK_SEED", 0, &first), setting("OG_SOAK_TABLES", 1, &tables)));
    harness_start(1);
    plat_poll_hook = player;
    failure.clear(), pairs = cleared = 0, seed = (unsigned)first;
    // Everything a table depends on comes from its seed, so that the seed alone replays it.
    for (unsigned long long n = 0; n < tables && failure.empty(); n++, seed++) {
        seen = Seen(), player_rng = seed * 2654435761u + 1, srand(seed);
        seen.presses_left = seed % 8 == 7 ? 600 : 5 + roll(120);  // most are short, every eighth long enough to clear
        player_count = 1 + seed % 2, current_player = seed % 2, table_number = 1;
        seen.start[0] = players[0].score = 1000 * (seed % 3), seen.start[1] = players[1].score = 777;
        plat_script_clear();
        play_table();
        // Cleared: 10000 and 1000 a stock card left; but on a time-up, 50 per started ten ticks left.
        long stock = std::count_if(table.table_slots + STOCK_TOP, table.table_slots + SLOT_CELLS, [](int v) { return v; });
        long bonus = table_cleared() ? 10000 + 1000 * stock : 0, step = table_cleared() || seen.took_score ? 50 : 0;
        if (failure.empty() && !settled(bonus + step * ((1250 - seen.ticks + 9) / 10)))
            fail("the bonus is not the table's");
        cleared += table_cleared();
    }
    EXPECT_EQ(failure, "");
    // A player that hardly pairs would prove little.
    EXPECT_TRUE(!failure.empty() || tables < 200 || (pairs > (long long)tables && cleared > 0))
        << pairs << " pairs, " << cleared << " tables cleared";
}
