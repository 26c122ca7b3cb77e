// Judging a pair, and the state a taken pair leaves behind.
#include "rules/pairs.h"
#include "rules/cursor.h"
#include "rules/game_state.h"
#include "rules/table_state.h"
#include "rules/timer.h"

namespace {

enum { ACE = 1, KING = 13, EQUAL_POINTS = 1200, ADJACENT_POINTS = 400 };

}  // namespace

int judge_pair(int p, int q) {
    if (p == q)
        return PAIR_EQUAL;
    if (p == q - 1 || p == q + 1)
        return PAIR_ADJACENT;
    if ((p == ACE && q == KING) || (p == KING && q == ACE))
        return PAIR_ADJACENT;
    return PAIR_REFUSED;
}

// is_card_free already refuses anything outside 0..33 and empty cells.
int choices_playable(void) { return is_card_free(table.selected_first) && is_card_free(table.selected_second); }

void choose_first(int slot) { table.selected_first = slot; }

void take_back_first(void) { table.selected_first = NO_SLOT; }

void choose_second(int slot) { table.selected_second = slot; }

void drop_choices(void) { table.selected_first = table.selected_second = NO_SLOT; }

void take_pair(int a, int b, int kind) {
    players[current_player].score += table.pair_bonus + (kind == PAIR_EQUAL ? EQUAL_POINTS : ADJACENT_POINTS);
    if (kind == PAIR_EQUAL)
        table.equal_pairs++;
    else
        table.adjacent_pairs++;
    table.table_slots[a] = 0;
    table.table_slots[b] = 0;
    restart_bonus();
    // The cursor stood on the removed card b.
    cursor_move(1);
}

int table_cleared(void) {
    for (int s = 0; s < TABLE_SLOTS; s++)
        if (table.table_slots[s])
            return 0;
    return 1;
}
