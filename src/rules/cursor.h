// The cursor on the table: between free cards column by column, and along
// the three targets below the table (take-score, stock, waste from left to
// right). Each changes only cursor_slot. Called by the table controls and,
// after a pair, by the pairing.
#pragma once

// 1 right, 0 left, between free cards column by column, wrapping, landing on
// the lowest free card of a column; from off the table, the first free card
// met from that side; 33 when no card is free.
void cursor_move(int direction);
// LEFT (0) or RIGHT (1): along the targets below the table when the cursor
// is there, otherwise cursor_move.
void cursor_sideways(int direction);
// DOWN: from the table (or nowhere) to the waste when it holds a card,
// else to the take-score button; below the table it stays.
void cursor_down(void);
// UP: from below the table into it, one column step left of slot 32, so
// that it lands on the card right above the waste when that one is free; on
// the table it stays.
void cursor_up(void);
// A click: straight onto the slot or target it lies on.
void cursor_to(int target);
// The lowest empty table slot, where the stock press puts the waste card;
// -1 when the table is full.
int lowest_gap(void);
