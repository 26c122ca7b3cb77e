// Random source, shuffle and deal, and the animation toolkit of the table:
// animations write positions into the table record and let draw_table show
// them frame by frame.
#pragma once

// Uniform integer 0..n from rand().
int random_upto(int n);
// The deck (four of each value 1..13) shuffled with 52 full-range swaps.
void shuffle_deck(int deck[52]);
void shuffle_and_deal(void);
// Keeps the table screen alive for ms milliseconds with the given overlay.
void animate_for(int ms, int overlay);
void animate_deal_card(int slot);
void animate_pair_away(int first, int second);
void turn_stock_card(void);
