// The cursor between free cards and the targets below the table, and the
// table's response to each input latch.
#include "table/controls.h"
#include "draw/table_screen.h"
#include "input/input.h"
#include "input/sound.h"
#include "menus/main_menu.h"
#include "shell/assets.h"
#include "table/deal.h"
#include "table/pairing.h"
#include "table/table_loop.h"
#include "table/table_state.h"

enum { COLUMNS = 6, LAST_TABLE_SLOT = 32 };

static int is_table_slot(int slot) { return slot >= 0 && slot <= LAST_TABLE_SLOT; }

// From off the table the cursor enters at the first free card met scanning
// from that side, the waste last.
static int first_free_from(int direction) {
    for (int i = 0; i <= LAST_TABLE_SLOT; i++) {
        int s = direction ? i : LAST_TABLE_SLOT - i;
        if (is_card_free(s))
            return s;
    }
    return WASTE_SLOT;
}

static int next_free_column_slot(int slot, int direction) {
    int c = slot - row_starts[slot_row(slot)];
    int step = direction ? 1 : COLUMNS - 1;
    for (int i = 1; i <= COLUMNS; i++) {
        int found = column_free_slot((c + step * i) % COLUMNS);
        if (found != NO_SLOT)
            return found;
    }
    return WASTE_SLOT;
}

void cursor_move(int direction) {
    int slot = table.cursor_slot;
    table.cursor_slot = is_table_slot(slot) ? next_free_column_slot(slot, direction)
                                            : first_free_from(direction);
}

int below_table_step(int slot, int direction) {
    if (direction)
        return slot == WASTE_SLOT ? TAKESCORE_TARGET
               : slot == TAKESCORE_TARGET ? STOCK_TARGET : WASTE_SLOT;
    return slot == WASTE_SLOT ? STOCK_TARGET
           : slot == STOCK_TARGET ? TAKESCORE_TARGET : WASTE_SLOT;
}

int lowest_gap(void) {
    for (int s = 0; s <= LAST_TABLE_SLOT; s++)
        if (table.table_slots[s] == 0)
            return s;
    return NO_SLOT;
}

// Every cursor key clicks, disarms the take-score button and redraws.
static void after_cursor_key(void) {
    table.takescore_armed = 0;
    play_sound(assets.click3);
    draw_table(OVERLAY_NONE);
}

static void sideways(int *latch, int direction) {
    if (table.cursor_slot > LAST_TABLE_SLOT)
        table.cursor_slot = below_table_step(table.cursor_slot, direction);
    else
        cursor_move(direction);
    *latch = 0;
    after_cursor_key();
}

static void down(void) {
    press_down = 0;
    if (table.cursor_slot <= LAST_TABLE_SLOT)
        table.cursor_slot = table.table_slots[WASTE_SLOT] ? WASTE_SLOT : TAKESCORE_TARGET;
    after_cursor_key();
}

static void up(void) {
    press_up = 0;
    // Entering from slot 32 one column leftward lands first on the card
    // right above the waste.
    if (table.cursor_slot > LAST_TABLE_SLOT) {
        table.cursor_slot = LAST_TABLE_SLOT;
        cursor_move(0);
    }
    after_cursor_key();
}

static void action(void) {
    press_action = 0;
    if (table.cursor_slot == STOCK_TARGET)
        stock_requested = 1;
    else if (table.cursor_slot == TAKESCORE_TARGET)
        takescore_requested = 1;
    else
        pick_card();
}

static void stock_press(void) {
    table.takescore_armed = 0;
    stock_requested = 0;
    int gap = lowest_gap();
    if (table.table_slots[STOCK_TOP] == 0 || gap == NO_SLOT)
        return;
    animate_deal_card(gap);
    table.table_slots[gap] = table.table_slots[WASTE_SLOT];
    table.cursor_slot = gap;
    table.selected_first = NO_SLOT;
    table.selected_second = NO_SLOT;
    table.table_slots[WASTE_SLOT] = 0;
    turn_stock_card();
    draw_table(OVERLAY_NONE);
    draw_table(OVERLAY_NONE);
    table.pair_bonus = BONUS_START;
    table.idle_ticks = 0;
    table.last_tick_ms = table.now_ms;
}

static void takescore_press(void) {
    takescore_requested = 0;
    if (table.takescore_armed) {
        table.takescore_armed = 0;
        table.table_over = 1;
    } else {
        table.takescore_armed = 1;
    }
}

static void open_pause_menu(void) {
    table.takescore_armed = 0;
    reset_input();
    run_main_menu();
}

void table_input(void) {
    if (press_left)
        sideways(&press_left, 0);
    if (press_right)
        sideways(&press_right, 1);
    if (press_down)
        down();
    if (press_up)
        up();
    if (press_action)
        action();
    if (stock_requested)
        stock_press();
    if (takescore_requested)
        takescore_press();
    if (hold_start)
        open_pause_menu();
}
