// The random source, the deck, and cards moving between waste, stock and
// table.
#include "rules/deck.h"
#include <stdlib.h>
#include "rules/cursor.h"
#include "rules/pairs.h"
#include "rules/table_state.h"
#include "rules/timer.h"

namespace {

enum { RAND_TOP = 2147483647 };

}  // namespace

int random_upto(int n) {
    // n below 1 leaves a single outcome; the bucket arithmetic would divide
    // by zero at n = -1.
    if (n < 1)
        return 0;
    int m = n + 1;
    int bucket = RAND_TOP / m;
    int q;
    do
        q = rand() / bucket;
    while (q >= m);
    return q;
}

void shuffle_deck(int deck[DECK_CARDS]) {
    for (int i = 0; i < DECK_CARDS; i++)
        deck[i] = i / 4 + 1;
    // Every draw spans the whole deck, not only the cards not yet placed.
    for (int k = 0; k < DECK_CARDS; k++) {
        int j = random_upto(DECK_CARDS - 1);
        int card = deck[k];
        deck[k] = deck[j];
        deck[j] = card;
    }
}

int take_stock_card(void) {
    if (table.table_slots[STOCK_TOP] == 0)
        return 0;
    for (int i = STOCK_TOP; i < SLOT_CELLS; i++)
        table.table_slots[i - 1] = table.table_slots[i];
    table.table_slots[SLOT_CELLS - 1] = 0;
    table.stock_count--;
    return 1;
}

void deal_begin(void) {
    drop_choices();
    for (int i = 0; i < SLOT_CELLS; i++)
        table.table_slots[i] = 0;
}

void deal_show_next(const int deck[DECK_CARDS], int i) {
    table.table_slots[WASTE_SLOT] = deck[i];
    table.table_slots[STOCK_TOP] = deck[i + 1];
}

void deal_place(const int deck[DECK_CARDS], int i) { table.table_slots[i] = deck[i]; }

void deal_finish(const int deck[DECK_CARDS]) {
    for (int i = WASTE_SLOT; i < SLOT_CELLS; i++)
        table.table_slots[i] = deck[i];
}

int stock_press_gap(void) { return table.table_slots[STOCK_TOP] ? lowest_gap() : NO_SLOT; }

void place_waste_card(int gap) {
    table.table_slots[gap] = table.table_slots[WASTE_SLOT];
    table.cursor_slot = gap;
    drop_choices();
    table.table_slots[WASTE_SLOT] = 0;
}
