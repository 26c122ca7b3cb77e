// Random source, shuffle and animated deal, and the timed waits and flights
// that every table animation is made of.
#include "table/deal.h"
#include <stdlib.h>
#include "draw/table_screen.h"
#include "input/input.h"
#include "input/sound.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/platform.h"
#include "table/table_state.h"

enum {
    RAND_TOP = 2147483647,
    DECK_CARDS = 52,
    DEAL_STEPS = 6, PAIR_STEPS = 10, STEP_MS = 10,
    STOCK_PHASE_MS = 80
};

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

void shuffle_deck(int deck[52]) {
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

void shuffle_and_deal(void) {
    table.selected_first = NO_SLOT;
    table.selected_second = NO_SLOT;
    int deck[DECK_CARDS];
    shuffle_deck(deck);
    for (int i = 0; i < SLOT_CELLS; i++)
        table.table_slots[i] = 0;
    draw_table(OVERLAY_NONE);
    for (int i = 0; i < TABLE_SLOTS; i++) {
        // The waste shows the card about to fly, the stock that more follow.
        table.table_slots[WASTE_SLOT] = deck[i];
        table.table_slots[STOCK_TOP] = deck[i + 1];
        play_sound(assets.click1);
        animate_deal_card(i);
        table.table_slots[i] = deck[i];
    }
    for (int i = WASTE_SLOT; i < SLOT_CELLS; i++)
        table.table_slots[i] = deck[i];
}

// Deadlines compare as signed differences, so a wrapped clock stays ordered.
static int reached(Uint32 end) { return (Sint32)(plat_ticks() - end) >= 0; }

void animate_for(int ms, int overlay) {
    Uint32 end = plat_ticks() + (Uint32)ms;
    while (!reached(end) && !exit_requested) {
        draw_table(overlay);
        poll_input();
    }
}

void animate_deal_card(int slot) {
    SlotPos target = slot_position(slot);
    SlotPos waste = slot_position(WASTE_SLOT);
    int dx = (target.x - waste.x) / DEAL_STEPS;
    int dy = (target.y - waste.y) / DEAL_STEPS;
    table.moving_active = 1;
    table.moving_slot = WASTE_SLOT;
    table.moving_x = waste.x;
    table.moving_y = waste.y;
    for (int i = 0; i < DEAL_STEPS && !exit_requested; i++) {
        table.moving_x += dx;
        table.moving_y += dy;
        animate_for(STEP_MS, OVERLAY_NONE);
    }
    table.moving_slot = NO_SLOT;
    table.moving_active = 0;
}

void animate_pair_away(int first, int second) {
    SlotPos a = slot_position(first);
    SlotPos b = slot_position(second);
    table.moving_x = a.x;
    table.moving_y = a.y;
    table.moving2_x = b.x;
    table.moving2_y = b.y;
    // Ten equal steps toward the corner, rounded toward zero, so the cards
    // stop a few pixels short of (0, 0).
    int ax = -a.x / PAIR_STEPS, ay = -a.y / PAIR_STEPS;
    int bx = -b.x / PAIR_STEPS, by = -b.y / PAIR_STEPS;
    table.moving2_active = 1;
    table.moving_active = 1;
    table.moving_slot = first;
    table.moving2_slot = second;
    for (int i = 0; i < PAIR_STEPS && !exit_requested; i++) {
        table.moving_x += ax;
        table.moving_y += ay;
        table.moving2_x += bx;
        table.moving2_y += by;
        animate_for(STEP_MS, OVERLAY_NONE);
    }
    table.moving2_slot = NO_SLOT;
    table.moving_slot = NO_SLOT;
    table.moving2_active = 0;
    table.moving_active = 0;
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

void turn_stock_card(void) {
    table.stock_turn_phase = 1;
    animate_for(STOCK_PHASE_MS, OVERLAY_NONE);
    table.stock_turn_phase = 2;
    animate_for(STOCK_PHASE_MS, OVERLAY_NONE);
    table.stock_turn_phase = 0;
    if (take_stock_card())
        play_sound(assets.click1);
}
