// Judging a pair of cards and what taking it changes.
#pragma once

enum { PAIR_REFUSED = 0, PAIR_EQUAL = 1, PAIR_ADJACENT = 2 };

// The choices of pick_card: the first, the first taken back (a refused
// second stays marked), the second, and both dropped (a judged pair, the deal
// and the stock press).
void choose_first(int slot);
void take_back_first(void);
void choose_second(int slot);
void drop_choices(void);
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
