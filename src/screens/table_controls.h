// The table's response to the input latches: cursor keys, choosing and
// pairing cards, the stock and take-score buttons, and the pause menu.
#pragma once

// Called by the table loop once per pass, right after poll_input.
void table_input(void);
// The action button on the card under the cursor: first choice, taking it
// back, or judging a pair; then the cleared check and the waste refill.
// Called by table_input when the cursor is on a table slot or the waste.
void pick_card(void);
