// A seeded player presses buttons through many whole tables on the virtual
// clock while every step is checked against the rules: the cards in play,
// the stock, the cursor, the choices as each press must leave them, and
// every score against a model of its own. A failure names the seed that
// replays it: OG_SOAK_SEED=<seed> OG_SOAK_TABLES=1. OG_SOAK_TABLES raises the
// table count for a longer run.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include "harness.h"
#include "platform/pad.h"
#include "rules/pairs.h"
#include "rules/table_state.h"
#include "screens/table_loop.h"

namespace {

// The player's own generator, so that its choices never disturb the deal's.
unsigned player_rng = 1;
int roll(int n) {
    player_rng = player_rng * 1103515245u + 12345u;
    return (int)((player_rng >> 16) % (unsigned)n);
}

// A press the player made and the table it saw, to check what it did.
struct Press {
    int button, first, second, cursor, playable, bonus, armed;
};

struct TableSeen {
    bool in_play = false, pending = false, took_score = false;
    uint32_t next_press = 0, pressed_at = 0;
    int presses_left = 0, removed[14] = {}, pairs_seen = 0, last_time_left = 0;
    long start_score[2] = {}, pair_points = 0;
    Press press = {};
} seen;
unsigned seed;
std::string failure;
long pairs, cleared;

bool is_face(int button) { return button >= BTN_A && button <= BTN_Y; }

// Cards leave the game only as one pair of equal or neighbouring values per
// step of the pair counters; returns the pair's points, or -1 when cards
// went otherwise. Each value is four times across table, waste, stock and
// the pairs taken.
long pair_taken(void) {
    int count[14] = {}, gone[2], n = 0;
    for (int v : table.table_slots) {
        if (v < 0 || v > 13)
            return -1;
        count[v]++;
    }
    for (int v = 1; v <= 13; v++) {
        int missing = 4 - count[v] - seen.removed[v];
        if (missing < 0 || n + missing > 2)
            return -1;
        while (missing-- > 0)
            gone[n++] = v;
    }
    int made = table.equal_pairs + table.adjacent_pairs - seen.pairs_seen;
    if (!n && !made)
        return 0;
    int d = abs(gone[0] - gone[1]);
    if (n != 2 || made != 1 || !(d <= 1 || d == 12) || !seen.pending || !is_face(seen.press.button))
        return -1;
    seen.removed[gone[0]]++;
    seen.removed[gone[1]]++;
    seen.pairs_seen++;
    pairs++;
    return (d == 0 ? 1200 : 400) + seen.press.bonus;
}

// What a press on the cursor's card must leave chosen: the first choice,
// the choice taken back, the two left as they are when one of them is not
// a free card, otherwise both judged and dropped.
std::pair<int, int> choices_after(const Press &p) {
    if (!is_face(p.button) || p.cursor > WASTE_SLOT)
        return {p.first, p.second};
    if (p.first == NO_SLOT)
        return {p.cursor, p.second};
    if (p.first == p.cursor)
        return {NO_SLOT, p.second};
    return p.playable ? std::make_pair(NO_SLOT, NO_SLOT) : std::make_pair(p.first, p.cursor);
}

const char *fault(void) {
    long points = pair_taken();
    if (points < 0)
        return "cards left the game other than as one pair taken by a press";
    seen.pair_points += points;
    int *stock = table.table_slots + STOCK_TOP, m = (int)(std::find(stock, stock + 18, 0) - stock);
    if (std::count(stock + m, stock + 18, 0) != 18 - m || m != table.stock_count)
        return "the stock has a gap or differs from stock_count";
    int c = table.cursor_slot;
    if (c != WASTE_SLOT && c != STOCK_TARGET && c != TAKESCORE_TARGET && !is_card_free(c))
        return "the cursor is off its targets";
    if (players[current_player].score != seen.start_score[current_player] + seen.pair_points)
        return "the score is not the pairs' points";
    if (players[1 - current_player].score != seen.start_score[1 - current_player])
        return "the other player's score changed";
    // The press acts once the poll that took it has drained the queue.
    if (seen.pending && now_ms() != seen.pressed_at && table.stock_turn_phase == 0 && !table.moving_active) {
        std::pair<int, int> want = choices_after(seen.press);
        bool stock_press = is_face(seen.press.button) && seen.press.cursor == STOCK_TARGET;
        if (!stock_press && std::make_pair((int)table.selected_first, (int)table.selected_second) != want)
            return "a press left the choices other than the rules say";
        seen.pending = false;
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
    if (seen.presses_left-- <= 0)
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

void press(int button) {
    int hold = 10 + roll(20);
    seen.press = {button, table.selected_first, table.selected_second, table.cursor_slot,
                  is_card_free(table.selected_first) && is_card_free(table.cursor_slot), table.pair_bonus,
                  table.takescore_armed};
    seen.pending = true;
    seen.pressed_at = now_ms();
    seen.took_score = is_face(button) && table.cursor_slot == TAKESCORE_TARGET && table.takescore_armed;
    // The pad's numbers are the console's: a key says the same everywhere.
    static const struct { int button; SDLKey key; } keys[] = {
        {BTN_A, SDLK_SPACE}, {BTN_B, SDLK_z}, {BTN_LEFT, SDLK_LEFT}, {BTN_RIGHT, SDLK_RIGHT},
        {BTN_UP, SDLK_UP}, {BTN_DOWN, SDLK_DOWN}};
    for (auto &k : keys)
        if (k.button == button)
            tap_key(now_ms(), k.key, (uint32_t)hold);
}

void player(void) {
    // Banners and the bonus count have nothing to press: let their time pass
    // at once so that each of their waits is a single frame.
    // The loop starts its clock after the deal and the ready banner.
    if (!seen.in_play && table.cursor_slot == FIRST_CURSOR && table.last_tick_ms - table.now_ms >= 2000)
        seen.in_play = true;
    if (!seen.in_play || table.table_over) {
        plat_advance(table.table_over ? 250 : 0);
        return;
    }
    const char *broken = fault();
    if (broken && failure.empty())
        failure = "seed " + std::to_string(seed) + ": " + broken;
    exit_requested |= broken != nullptr;
    seen.last_time_left = table.time_left;
    // The player presses only while nothing moves, so that a plan sees the
    // table it will act on.
    if (now_ms() < seen.next_press || table.moving_active || table.stock_turn_phase || seen.pending)
        return;
    press(next_button());
    seen.next_press = now_ms() + 40 + (uint32_t)roll(60);
}

// The bonus after the loop: 10000 for a cleared table, 1000 for each stock
// card then left, 50 per started ten ticks of the time then left (the last
// pass may have counted one more tick); nothing after a time-up.
const char *bonus_fault(int player) {
    long points = pair_taken();  // the pair that cleared the table
    if (points < 0)
        return "cards left the game other than as one pair taken by a press";
    long delta = players[player].score - seen.start_score[player] - seen.pair_points - points;
    bool was_cleared = table_cleared();
    if (!was_cleared && !seen.took_score)
        return delta == 0 ? nullptr : "a timed-out table scored a bonus";
    long stock = std::count_if(table.table_slots + STOCK_TOP, table.table_slots + SLOT_CELLS, [](int v) { return v; });
    long time = delta - (was_cleared ? 10000 + 1000 * stock : 0);
    int t = seen.last_time_left;
    if (time % 50 || (time / 50 != (t + 9) / 10 && time / 50 != (t + 8) / 10))
        return "the bonus is not the table's";
    return players[1 - player].score == seen.start_score[1 - player] ? nullptr : "the other player's score changed";
}

// Everything a table depends on comes from its seed, so that the seed alone
// replays it.
void play_one(unsigned table_seed) {
    seed = table_seed;
    seen = TableSeen();
    player_rng = seed * 2654435761u + 1;
    // Most tables are short; every eighth is played long enough to clear.
    // Then the player heads for the take-score button.
    seen.presses_left = seed % 8 == 7 ? 600 : 5 + roll(120);
    srand(seed);
    player_count = 1 + seed % 2;
    current_player = seed % 2;
    table_number = 1;
    seen.start_score[0] = players[0].score = 1000 * (seed % 3);
    seen.start_score[1] = players[1].score = 777;
    plat_script_clear();
    play_table();
    const char *broken = failure.empty() ? bonus_fault((int)(seed % 2)) : nullptr;
    if (broken)
        failure = "seed " + std::to_string(seed) + ": " + broken;
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
    // Over a whole run the player must really play: pairs on most tables,
    // some tables cleared.
    EXPECT_TRUE(!failure.empty() || tables < 200 || (pairs > (long)tables && cleared > 0))
        << pairs << " pairs, " << cleared << " tables cleared";
}
