// Choosing cards, judging pairs and scoring them.
#pragma once

enum { PAIR_REFUSED = 0, PAIR_EQUAL = 1, PAIR_ADJACENT = 2 };

// How two card values pair; king and ace are neighbours.
int judge_pair(int p, int q);
// Base points of a pair of that kind, before the pair bonus.
int pair_points(int kind);
// 1 when table cells 0..32 are all empty; the waste and stock do not count.
// Read by pick_card's end checks and by the end-of-table bonus.
int table_cleared(void);
// The action button on the card under the cursor: first choice, taking it
// back, or judging a pair; then the cleared check and the waste refill.
// Called by table_input when the cursor is on a table slot or the waste.
void pick_card(void);
