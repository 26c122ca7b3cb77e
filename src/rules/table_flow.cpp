// How a table begins and ends.
#include "rules/table_flow.h"
#include "rules/table_state.h"
#include "rules/timer.h"

void prepare_table(void) {
    table.time_left = TABLE_TIME;
    table.table_over = 0;
    table.idle_ticks = 0;
    table.selected_first = NO_SLOT;
    table.cursor_slot = NO_SLOT;
    table.selected_second = NO_SLOT;
    table.takescore_armed = 0;
    table.adjacent_pairs = 0;
    table.equal_pairs = 0;
}

void table_dealt(int32_t t) {
    table.cursor_slot = FIRST_CURSOR;
    table.selected_first = table.selected_second = NO_SLOT;
    table.stock_count = FULL_STOCK;
    table.moving_active = table.moving2_active = 0;
    table.now_ms = t;
    start_clock(t);
    restart_bonus();
}

void end_table(void) { table.table_over = 1; }

void press_takescore(void) {
    if (table.takescore_armed)
        end_table();
    table.takescore_armed = !table.takescore_armed;
}

void disarm_takescore(void) { table.takescore_armed = 0; }
