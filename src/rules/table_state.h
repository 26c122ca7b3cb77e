// The record of the table being played, its slot geometry and the exposure
// rule. Plain data and pure functions: nothing here touches SDL.
#pragma once
#include <stdint.h>

enum {
    TABLE_SLOTS = 33,        // cells 0..32 are the six rows
    WASTE_SLOT = 33,
    STOCK_TOP = 34,          // next stock card to turn; the stock is 34..51
    SLOT_CELLS = 52,
    STOCK_TARGET = 53,       // cursor on the stock picture
    TAKESCORE_TARGET = 54,   // cursor on the take-score button
    NO_SLOT = -1
};

enum {
    TABLE_TIME = 1250,  // ticks on the clock of a new table
    TICK_MS = 90,       // a tick is counted once more than this has passed
    BONUS_START = 500,  // the pair bonus after a pair or a stock press
    FULL_STOCK = 18,    // cards in the stock after the deal
    FIRST_CURSOR = 30   // where the cursor starts: row 5, column 2
};

struct TableState {
    int32_t table_slots[SLOT_CELLS];
    int32_t cursor_slot;
    int32_t selected_first, selected_second;
    int32_t time_left;
    int32_t pair_bonus;
    int32_t idle_ticks;
    int32_t last_tick_ms;
    int32_t now_ms;
    int32_t stock_count;
    int32_t equal_pairs, adjacent_pairs;
    int32_t table_over;
    int32_t takescore_armed;
    int32_t stock_turn_phase;
    int32_t moving_active, moving_slot, moving_x, moving_y;
    int32_t moving2_active, moving2_slot, moving2_x, moving2_y;
};
extern TableState table;

// First slot of each row, then the end.
extern const int row_starts[7];

struct SlotPos {
    int x, y;
};

// The row 0..5 of a table slot; used by slot_position and the cursor.
int slot_row(int slot);
// Top-left pixel of a table slot's card, or of the waste for slot 33. Used
// by the table screen and the card flights.
SlotPos slot_position(int slot);
// 1 when the slot (0..33) holds a card that no card of the next row
// overlaps; 0 for anything else, stock cells and targets included. Used by
// the cursor and by pick_card's preconditions.
int is_card_free(int slot);
// The free slot of a column scanning from the bottom row up, or -1; column
// 5 visits only the six-card rows. Used by cursor_move.
int column_free_slot(int column);

