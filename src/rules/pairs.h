// Judging a pair of cards and what taking it changes.
#pragma once

enum { PAIR_REFUSED = 0, PAIR_EQUAL = 1, PAIR_ADJACENT = 2 };

// How two card values pair; king and ace are neighbours. Called by
// pick_card.
int judge_pair(int p, int q);
// 1 when both choices are free cards of the table or the waste, so that the
// pair may be judged. Called by pick_card.
int choices_playable(void);
// Takes the judged pair of slots a and b once its flight is over: scores it
// for the current player with the pair bonus, counts it, empties both
// cells, restarts the bonus and the tick phase, and moves the cursor on to
// the next free card. Called by pick_card.
void take_pair(int a, int b, int kind);
// 1 when table cells 0..32 are all empty; the waste and stock do not count.
// Read by pick_card's end checks and by the end-of-table bonus.
int table_cleared(void);
