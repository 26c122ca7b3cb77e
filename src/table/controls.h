// Cursor movement and the table's handling of the input latches.
#pragma once

// 1 right, 0 left, between free cards column by column, wrapping, landing on
// the lowest free card of a column; 33 when no card is free. Changes only
// cursor_slot. Called by table_input and by pick_card after a pair.
void cursor_move(int direction);
// Called by the table loop once per pass, right after poll_input.
void table_input(void);

// The next of the three targets below the table (take-score, stock, waste
// from left to right), cycling; any other slot gives the waste.
int below_table_step(int slot, int direction);
// The lowest empty table slot, where the stock press puts the waste card;
// -1 when the table is full.
int lowest_gap(void);
