// Choosing cards, judging a pair, scoring it, and what follows every press:
// the cleared-table check and the refill of an empty waste.
#include "table/pairing.h"
#include "draw/table_screen.h"
#include "input/sound.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "table/controls.h"
#include "table/deal.h"
#include "table/table_loop.h"
#include "table/table_state.h"

enum { ACE = 1, KING = 13, EQUAL_POINTS = 1200, ADJACENT_POINTS = 400 };

int judge_pair(int p, int q) {
    if (p == q)
        return PAIR_EQUAL;
    if (p == q - 1 || p == q + 1)
        return PAIR_ADJACENT;
    if ((p == ACE && q == KING) || (p == KING && q == ACE))
        return PAIR_ADJACENT;
    return PAIR_REFUSED;
}

int pair_points(int kind) {
    if (kind == PAIR_EQUAL)
        return EQUAL_POINTS;
    if (kind == PAIR_ADJACENT)
        return ADJACENT_POINTS;
    return 0;
}

int table_cleared(void) {
    for (int s = 0; s < TABLE_SLOTS; s++)
        if (table.table_slots[s])
            return 0;
    return 1;
}

// Both choices must be free cards of the table or the waste; is_card_free
// already refuses anything outside 0..33 and empty cells.
static int choices_playable(void) {
    return is_card_free(table.selected_first) && is_card_free(table.selected_second);
}

static void remove_pair(int kind) {
    int a = table.selected_first, b = table.selected_second;
    table.selected_first = NO_SLOT;
    table.selected_second = NO_SLOT;
    animate_pair_away(a, b);
    players[current_player].score += table.pair_bonus + pair_points(kind);
    if (kind == PAIR_EQUAL)
        table.equal_pairs++;
    else
        table.adjacent_pairs++;
    table.table_slots[a] = 0;
    table.pair_bonus = BONUS_START;
    table.last_tick_ms = table.now_ms;
    table.table_slots[b] = 0;
    table.idle_ticks = 0;
    cursor_move(1);
    play_sound(assets.click2);
    draw_table(OVERLAY_NONE);
}

static void refuse_pair(void) {
    table.selected_second = NO_SLOT;
    table.selected_first = NO_SLOT;
    play_sound(assets.nono);
    draw_table(OVERLAY_NONE);
}

static void judge_choices(int c) {
    table.selected_second = c;
    // A choice that is covered, empty or off the table is ignored silently
    // and stays marked, so the player can take it back or choose again.
    if (!choices_playable())
        return;
    int kind = judge_pair(table.table_slots[table.selected_first],
                          table.table_slots[table.selected_second]);
    if (kind == PAIR_REFUSED)
        refuse_pair();
    else
        remove_pair(kind);
}

static void end_checks(void) {
    if (table_cleared())
        table.table_over = 1;
    if (table.table_over || table.table_slots[WASTE_SLOT])
        return;
    turn_stock_card();
    draw_table(OVERLAY_NONE);
}

void pick_card(void) {
    int c = table.cursor_slot;
    if (table.selected_first == NO_SLOT) {
        table.selected_first = c;
        draw_table(OVERLAY_NONE);
    } else if (table.selected_first == c) {
        table.selected_first = NO_SLOT;
    } else {
        judge_choices(c);
    }
    end_checks();
}
