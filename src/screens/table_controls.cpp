// What each input latch does on a running table, and the pairing that a
// face button on a card starts.
#include "screens/table_controls.h"
#include "draw/table_screen.h"
#include "input/input.h"
#include "platform/assets.h"
#include "platform/audio.h"
#include "rules/cursor.h"
#include "rules/deck.h"
#include "rules/pairs.h"
#include "rules/table_flow.h"
#include "rules/table_state.h"
#include "rules/timer.h"
#include "screens/animate.h"
#include "screens/main_menu.h"

namespace {

// Every move of the cursor clicks, disarms the take-score button and redraws.
void cursor_moved(void) {
    disarm_takescore();
    play_sound(SOUND_CLICK3);
    draw_table(OVERLAY_NONE);
}

void cursor_key(int *latch, void (*move)(void)) {
    *latch = 0;
    move();
    cursor_moved();
}

// A click on a free card, the waste card, the stock or the take-score
// button does what moving the cursor there and a face button would; on a
// covered card or the felt it does nothing.
void click(void) {
    int target = take_click(table_target_at);
    if (target == NO_SLOT || (target <= WASTE_SLOT && !is_card_free(target)))
        return;
    if (table.cursor_slot != target) {
        cursor_to(target);
        cursor_moved();
    }
    press_action = 1;
}

void action(void) {
    press_action = 0;
    if (table.cursor_slot == STOCK_TARGET)
        stock_requested = 1;
    else if (table.cursor_slot == TAKESCORE_TARGET)
        takescore_requested = 1;
    else
        pick_card();
}

void stock_press(void) {
    disarm_takescore();
    stock_requested = 0;
    int gap = stock_press_gap();
    if (gap == NO_SLOT)
        return;
    animate_deal_card(gap);
    place_waste_card(gap);
    turn_stock_card();
    draw_table(OVERLAY_NONE);
    draw_table(OVERLAY_NONE);
    restart_bonus();
}

void takescore_press(void) {
    takescore_requested = 0;
    press_takescore();
}

void open_pause_menu(void) {
    disarm_takescore();
    reset_input();
    run_main_menu();
}

void remove_pair(int kind) {
    int a = table.selected_first, b = table.selected_second;
    drop_choices();
    animate_pair_away(a, b);
    take_pair(a, b, kind);
    play_sound(SOUND_CLICK2);
    draw_table(OVERLAY_NONE);
}

void refuse_pair(void) {
    drop_choices();
    play_sound(SOUND_NONO);
    draw_table(OVERLAY_NONE);
}

void judge_choices(int c) {
    choose_second(c);
    // A choice that is covered, empty or off the table is ignored silently
    // and stays marked, so the player can take it back or choose again.
    if (!choices_playable())
        return;
    int kind = judge_pair(table.table_slots[table.selected_first], table.table_slots[table.selected_second]);
    if (kind == PAIR_REFUSED)
        refuse_pair();
    else
        remove_pair(kind);
}

// After every press: a cleared table ends, and an empty waste is refilled.
void end_checks(void) {
    if (table_cleared())
        end_table();
    if (table.table_over || table.table_slots[WASTE_SLOT])
        return;
    turn_stock_card();
    draw_table(OVERLAY_NONE);
}

void left(void) { cursor_sideways(0); }
void right(void) { cursor_sideways(1); }

}  // namespace

void pick_card(void) {
    int c = table.cursor_slot;
    if (table.selected_first == NO_SLOT) {
        choose_first(c);
        draw_table(OVERLAY_NONE);
    } else if (table.selected_first == c) {
        take_back_first();
    } else {
        judge_choices(c);
    }
    end_checks();
}

void table_input(void) {
    if (press_left)
        cursor_key(&press_left, left);
    if (press_right)
        cursor_key(&press_right, right);
    if (press_down)
        cursor_key(&press_down, cursor_down);
    if (press_up)
        cursor_key(&press_up, cursor_up);
    if (pointer_click.pending)
        click();
    if (press_action)
        action();
    if (stock_requested)
        stock_press();
    if (takescore_requested)
        takescore_press();
    if (hold_start || press_escape)
        open_pause_menu();
}
