// The animated deal, and the timed waits and flights that every table
// animation is made of.
#include "screens/animate.h"
#include "draw/overlay.h"
#include "draw/table_screen.h"
#include "input/input.h"
#include "platform/assets.h"
#include "platform/audio.h"
#include "platform/platform.h"
#include "platform/ticks.h"
#include "rules/deck.h"
#include "rules/game_state.h"
#include "rules/table_state.h"

namespace {

enum { DEAL_STEPS = 6, PAIR_STEPS = 10, STOCK_PHASE_MS = 80 };

}  // namespace

void shuffle_and_deal(void) {
    int deck[DECK_CARDS];
    shuffle_deck(deck);
    deal_begin();
    draw_table(OVERLAY_NONE);
    for (int i = 0; i < TABLE_SLOTS; i++) {
        deal_show_next(deck, i);
        play_sound(SOUND_CLICK1);
        animate_deal_card(i);
        deal_place(deck, i);
    }
    deal_finish(deck);
}

void animate_for(int ms, int overlay) {
    uint32_t end = plat_ticks() + (uint32_t)ms;
    while (tick_after(end, plat_ticks()) && !exit_requested) {
        uint32_t step_end = plat_earliest(plat_ticks() + FRAME_STEP_MS, end);
        draw_table(overlay);
        poll_input();
        plat_wait_until(step_end);
    }
}

void end_animation(void) { present_held_frame(); }

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
        animate_for(FRAME_STEP_MS, OVERLAY_NONE);
    }
    end_animation();
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
        animate_for(FRAME_STEP_MS, OVERLAY_NONE);
    }
    end_animation();
    table.moving2_slot = NO_SLOT;
    table.moving_slot = NO_SLOT;
    table.moving2_active = 0;
    table.moving_active = 0;
}

void turn_stock_card(void) {
    table.stock_turn_phase = 1;
    animate_for(STOCK_PHASE_MS, OVERLAY_NONE);
    table.stock_turn_phase = 2;
    animate_for(STOCK_PHASE_MS, OVERLAY_NONE);
    end_animation();
    table.stock_turn_phase = 0;
    if (take_stock_card())
        play_sound(SOUND_CLICK1);
}
