// Cursor movement and the table's handling of the input latches.
#pragma once

// 1 right, 0 left, between free cards column by column; changes cursor_slot.
void cursor_move(int direction);
// Called by the table loop once per pass, right after poll_input.
void table_input(void);
