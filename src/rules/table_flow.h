// The table's life, each change the rules' own: its preparation, its deal,
// its end and the take-score button. Called by the table loop and the table
// controls, which do the drawing, sounds and waiting around them.
#pragma once
#include <stdint.h>
// Before the deal: a full clock, nothing over, chosen, armed or paired, and
// the cursor nowhere.
void prepare_table(void);
// After the deal, at time t: the cursor on its first card, a full stock,
// the pair bonus at its start and the tick phase from t.
void table_dealt(int32_t t);
// The table ends: cleared, taken or timed out.
void end_table(void);
// The take-score button: the first press arms it, the next ends the table.
void press_takescore(void);
// Any move of the cursor, a stock press and the pause menu disarm it.
void disarm_takescore(void);
