// Choosing cards, judging pairs and scoring them.
#pragma once

enum { PAIR_REFUSED = 0, PAIR_EQUAL = 1, PAIR_ADJACENT = 2 };

// How two card values pair; king and ace are neighbours.
int judge_pair(int p, int q);
// Base points of a pair of that kind, before the pair bonus.
int pair_points(int kind);
// The action button on the card under the cursor.
void pick_card(void);
