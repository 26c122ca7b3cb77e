// A random player presses buttons through many whole tables on the virtual
// clock while every step is checked against the table's invariants. A
// failure names the seed that replays it: OG_SOAK_SEED=<seed> OG_SOAK_TABLES=1.
// OG_SOAK_TABLES raises the table count for a longer local run.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include "input/input.h"
#include "input/pad.h"
#include "table/pairing.h"
#include "table_helpers.h"

namespace {

// The player's own generator, so that its choices never disturb the deal's.
unsigned player_rng = 1;
int roll(int n) {
    player_rng = player_rng * 1103515245u + 12345u;
    return (int)((player_rng >> 16) % (unsigned)n);
}

struct Soak {
    unsigned seed;
    Sint32 dealt_at;
    Uint32 next_press;
    int presses_left;  // then the player heads for the take-score button
    int prev[SLOT_CELLS];
    int removed[14];
    int prev_pairs;
    int best_score[2];
    std::string failure;
    long checks, pairs, cleared;
};
Soak soak;

int in_play(void) {
    if (table.cursor_slot == NO_SLOT) {
        soak.dealt_at = -1;
        return 0;
    }
    if (soak.dealt_at == -1 && table.stock_count == 18 && table.time_left == TABLE_TIME) {
        soak.dealt_at = table.now_ms;
        std::copy(table.table_slots, table.table_slots + SLOT_CELLS, soak.prev);
        for (int &r : soak.removed)
            r = 0;
        soak.prev_pairs = 0;
    }
    return soak.dealt_at != -1 && table.now_ms != soak.dealt_at && !table.table_over;
}

void fail(const std::string &what) {
    if (soak.failure.empty()) {
        char seed[64];
        snprintf(seed, sizeof seed, "seed %u: ", soak.seed);
        soak.failure = seed + what;
    }
    exit_requested = 1;
}

void check_cards(void) {
    int count[14] = {};
    for (int s = 0; s < SLOT_CELLS; s++) {
        int v = table.table_slots[s];
        if (v < 0 || v > 13)
            return fail("cell " + std::to_string(s) + " holds " + std::to_string(v));
        count[v]++;
    }
    int pairs = table.equal_pairs + table.adjacent_pairs;
    if (pairs == soak.prev_pairs + 1) {
        // The two values that left the table must make a pair.
        int gone[2], n = 0;
        int before[14] = {};
        for (int s = 0; s < SLOT_CELLS; s++)
            before[soak.prev[s]]++;
        for (int v = 1; v <= 13; v++)
            for (int k = count[v]; k < before[v] && n < 2; k++)
                gone[n++] = v;
        if (n != 2 || judge_pair(gone[0], gone[1]) == PAIR_REFUSED)
            return fail("a pair removed cards that do not pair");
        soak.removed[gone[0]]++;
        soak.removed[gone[1]]++;
        soak.pairs++;
    } else if (pairs != soak.prev_pairs) {
        return fail("pair counters jumped");
    }
    soak.prev_pairs = pairs;
    std::copy(table.table_slots, table.table_slots + SLOT_CELLS, soak.prev);
    for (int v = 1; v <= 13; v++)
        if (count[v] + soak.removed[v] != 4)
            return fail("value " + std::to_string(v) + " is not four times in the game");
}

void check_stock(void) {
    int n = 0;
    while (n < 18 && table.table_slots[STOCK_TOP + n])
        n++;
    for (int s = STOCK_TOP + n; s < SLOT_CELLS; s++)
        if (table.table_slots[s])
            return fail("a gap in the stock");
    if (n != table.stock_count)
        return fail("stock_count " + std::to_string(table.stock_count) + " for " +
                    std::to_string(n) + " stock cards");
}

void check_cursor_and_choices(void) {
    int c = table.cursor_slot;
    bool below = c == WASTE_SLOT || c == STOCK_TARGET || c == TAKESCORE_TARGET;
    if (!below && !(c >= 0 && c < TABLE_SLOTS && table.table_slots[c]))
        return fail("cursor on " + std::to_string(c));
    int a = table.selected_first, b = table.selected_second;
    if (a < -1 || a > WASTE_SLOT || b < -1 || b > WASTE_SLOT)
        return fail("a choice off the table");
    if (a != NO_SLOT && a == b)
        return fail("the same card chosen twice");
    // Two choices stand only when the pair failed its preconditions.
    if (a != NO_SLOT && b != NO_SLOT && is_card_free(a) && is_card_free(b))
        return fail("two free cards chosen but not judged");
}

void check_numbers(void) {
    for (int p = 0; p < 2; p++) {
        if (players[p].score < soak.best_score[p])
            return fail("a score fell");
        soak.best_score[p] = players[p].score;
    }
    if (table.pair_bonus < 0 || table.pair_bonus > 500 || table.pair_bonus % 10)
        return fail("pair bonus " + std::to_string(table.pair_bonus));
    if (table.time_left < 0 || table.time_left > TABLE_TIME)
        return fail("time left " + std::to_string(table.time_left));
}

void check(void) {
    soak.checks++;
    check_cards();
    check_stock();
    check_cursor_and_choices();
    check_numbers();
}

// The cards the cursor can reach: the free card of each column, the waste.
int reachable(int out[7]) {
    int n = 0;
    for (int c = 0; c < 6; c++)
        if (column_free_slot(c) != NO_SLOT)
            out[n++] = column_free_slot(c);
    if (table.table_slots[WASTE_SLOT])
        out[n++] = WASTE_SLOT;
    return n;
}

// A pair worth going for, as two slots to choose in turn; 0 when none.
int plan_pair(int *a, int *b) {
    int cards[7];
    int n = reachable(cards);
    int offset = roll(7);
    for (int i = 0; i < n; i++)
        for (int j = i + 1; j < n; j++) {
            int p = cards[(i + offset) % n], q = cards[(j + offset) % n];
            if (p != q && judge_pair(table.table_slots[p], table.table_slots[q]) != PAIR_REFUSED) {
                *a = p;
                *b = q;
                return 1;
            }
        }
    return 0;
}

// One press toward the target: right along the table, down to the waste,
// along the targets below, up into the table.
int step_toward(int target) {
    int c = table.cursor_slot;
    if (target <= 32)
        return c > 32 ? BTN_UP : BTN_RIGHT;
    if (c <= 32)
        return BTN_DOWN;
    return BTN_LEFT;
}

struct Plan {
    int goal[2];
    int stage;  // 0 none, 1 heading for goal[0], 2 for goal[1]
    int steps;
};
Plan plan;

int planned_button(void) {
    if (plan.stage == 0 || ++plan.steps > 16) {
        plan.stage = 1;
        plan.steps = 0;
        // Stuck without a pair: a stock press brings a new card.
        if (!plan_pair(&plan.goal[0], &plan.goal[1])) {
            plan.goal[1] = STOCK_TARGET;
            plan.stage = 2;
        }
        if (table.selected_first != NO_SLOT)
            return BTN_B;  // whatever was chosen gets judged or taken back
    }
    int target = plan.goal[plan.stage - 1];
    if (table.cursor_slot != target)
        return step_toward(target);
    plan.stage = plan.stage == 1 ? 2 : 0;
    return BTN_A;
}

// Random presses and planned pairs; later the player walks to the
// take-score button and presses it twice, so that tables stay short.
int next_button(void) {
    if (soak.presses_left > 0) {
        soak.presses_left--;
        int planned = roll(10) < 8 ? planned_button() : -1;
        if (planned >= 0)
            return planned;
        static const int buttons[] = {BTN_A, BTN_A, BTN_A, BTN_LEFT, BTN_RIGHT,
                                      BTN_RIGHT, BTN_UP, BTN_DOWN, BTN_B};
        return buttons[roll(9)];
    }
    if (table.cursor_slot <= 32)
        return BTN_DOWN;
    return table.cursor_slot == TAKESCORE_TARGET ? BTN_A : BTN_LEFT;
}

void player(void) {
    if (!in_play()) {
        // Banners and the bonus count have nothing to check: let their time
        // pass at once so that each of their waits is a single frame.
        if (soak.dealt_at != -1)
            plat_advance(250);
        return;
    }
    check();
    // The player presses only while nothing moves, so that a plan sees the
    // table it will act on; invariants are checked during animations too.
    if (now_ms() < soak.next_press || table.moving_active || table.stock_turn_phase)
        return;
    tap_button(now_ms(), next_button(), 10 + roll(20));
    soak.next_press = now_ms() + 40 + roll(60);
}

void play_one(unsigned seed, int index) {
    soak.seed = seed;
    soak.dealt_at = -1;
    // Most tables are short; every eighth is played long enough to clear.
    soak.presses_left = index % 8 == 7 ? 600 : 5 + roll(120);
    plan = Plan();
    player_rng = seed * 2654435761u + 1;
    srand(seed);
    player_count = 1 + index % 2;
    current_player = index % 2;
    table_number = 1 + index % 3;
    plat_script_clear();
    play_table();
}

unsigned env_or(const char *name, unsigned fallback) {
    const char *v = getenv(name);
    return v ? (unsigned)strtoul(v, nullptr, 10) : fallback;
}

}  // namespace

TEST(TableSoak, RandomPlayKeepsTheInvariants) {
    harness_start(1);
    unsigned tables = env_or("OG_SOAK_TABLES", 200);
    unsigned first = env_or("OG_SOAK_SEED", 1000);
    plat_poll_hook = player;
    for (unsigned i = 0; i < tables && soak.failure.empty(); i++) {
        play_one(first + i, (int)i);
        soak.cleared += table_cleared();
    }
    EXPECT_EQ(soak.failure, "");
    // The player must really play: many checks, and pairs on most tables.
    EXPECT_GT(soak.checks, (long)tables * 20);
    EXPECT_GT(soak.pairs, (long)tables);
    if (tables >= 200) {
        EXPECT_GT(soak.cleared, 0) << "no table was cleared";
    }
    printf("%u tables: %ld checks, %ld pairs, %ld cleared\n", tables, soak.checks, soak.pairs,
           soak.cleared);
}
