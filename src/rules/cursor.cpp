// Where the cursor goes for each direction.
#include "rules/cursor.h"
#include "rules/table_state.h"

namespace {

enum { COLUMNS = 6, LAST_TABLE_SLOT = TABLE_SLOTS - 1 };

bool is_table_slot(int slot) { return slot >= 0 && slot <= LAST_TABLE_SLOT; }

// From off the table the cursor enters at the first free card met scanning
// from that side, the waste last.
int first_free_from(int direction) {
    for (int i = 0; i <= LAST_TABLE_SLOT; i++) {
        int s = direction ? i : LAST_TABLE_SLOT - i;
        if (is_card_free(s))
            return s;
    }
    return WASTE_SLOT;
}

int next_free_column_slot(int slot, int direction) {
    int c = slot - row_starts[slot_row(slot)];
    int step = direction ? 1 : COLUMNS - 1;
    for (int i = 1; i <= COLUMNS; i++) {
        int found = column_free_slot((c + step * i) % COLUMNS);
        if (found != NO_SLOT)
            return found;
    }
    return WASTE_SLOT;
}

// Rightward the targets below run waste, take-score, stock; leftward the
// other way round. Anything else comes back to the waste.
int below_table_step(int slot, int direction) {
    if (direction)
        return slot == WASTE_SLOT ? TAKESCORE_TARGET : slot == TAKESCORE_TARGET ? STOCK_TARGET : WASTE_SLOT;
    return slot == WASTE_SLOT ? STOCK_TARGET : slot == STOCK_TARGET ? TAKESCORE_TARGET : WASTE_SLOT;
}

}  // namespace

void cursor_move(int direction) {
    int slot = table.cursor_slot;
    table.cursor_slot = is_table_slot(slot) ? next_free_column_slot(slot, direction) : first_free_from(direction);
}

void cursor_sideways(int direction) {
    if (table.cursor_slot > LAST_TABLE_SLOT)
        table.cursor_slot = below_table_step(table.cursor_slot, direction);
    else
        cursor_move(direction);
}

void cursor_down(void) {
    if (table.cursor_slot <= LAST_TABLE_SLOT)
        table.cursor_slot = table.table_slots[WASTE_SLOT] ? WASTE_SLOT : TAKESCORE_TARGET;
}

void cursor_up(void) {
    if (table.cursor_slot > LAST_TABLE_SLOT) {
        table.cursor_slot = LAST_TABLE_SLOT;
        cursor_move(0);
    }
}

void cursor_to(int target) { table.cursor_slot = target; }

int lowest_gap(void) {
    for (int s = 0; s <= LAST_TABLE_SLOT; s++)
        if (table.table_slots[s] == 0)
            return s;
    return NO_SLOT;
}
