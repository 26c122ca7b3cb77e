// The table record, where each slot sits on screen, and which cards are free.
#include "rules/table_state.h"

TableState table;
const int row_starts[7] = {0, 6, 11, 17, 22, 28, 33};

namespace {

enum {
    EVEN_ROW_X = 70, ODD_ROW_X = 85, COLUMN_STEP = 40,
    ROW_Y = 15, ROW_STEP = 22,
    WASTE_X = 205, WASTE_Y = 190,
    BOTTOM_ROW = 5, FIRST_BOTTOM_SLOT = 28
};

int cell_empty(int slot) { return table.table_slots[slot] == 0; }

}  // namespace

int slot_row(int slot) {
    int r = BOTTOM_ROW;
    while (r > 0 && row_starts[r] > slot)
        r--;
    return r;
}

SlotPos slot_position(int slot) {
    if (slot == WASTE_SLOT)
        return {WASTE_X, WASTE_Y};
    int r = slot_row(slot);
    int c = slot - row_starts[r];
    int left = (r % 2 == 0) ? EVEN_ROW_X : ODD_ROW_X;
    return {left + COLUMN_STEP * c, ROW_Y + ROW_STEP * r};
}

int is_card_free(int slot) {
    if (slot < 0 || slot > WASTE_SLOT || cell_empty(slot))
        return 0;
    if (slot >= FIRST_BOTTOM_SLOT)
        return 1;
    // The two cards of the next row that overlap this one lie 5 and 6 cells
    // on; at the ends of a six-card row only one of them exists.
    if (slot == 0 || slot == 11 || slot == 22)
        return cell_empty(slot + 6);
    if (slot == 5 || slot == 16 || slot == 27)
        return cell_empty(slot + 5);
    return cell_empty(slot + 5) && cell_empty(slot + 6);
}

int column_free_slot(int column) {
    // Column 5 exists only in the six-card rows, so it skips every other row.
    int step = (column == 5) ? 2 : 1;
    for (int r = BOTTOM_ROW + 1 - step; r >= 0; r -= step) {
        int slot = row_starts[r] + column;
        if (is_card_free(slot))
            return slot;
    }
    return NO_SLOT;
}
