// Random source, shuffle and deal, and the animation toolkit of the table:
// animations write positions into the table record and let draw_table show
// them frame by frame.
#pragma once

// Uniform integer 0..n from rand().
int random_upto(int n);
// The deck (four of each value 1..13) shuffled with 52 full-range swaps.
void shuffle_deck(int deck[52]);
// Called by start_table: a fresh deck dealt card by card with animation.
void shuffle_and_deal(void);
// Keeps the table screen alive for ms milliseconds with the given overlay,
// drawing and polling input; every table animation waits through it.
void animate_for(int ms, int overlay);
// The waste card flies to a slot in six steps; the caller then stores it.
void animate_deal_card(int slot);
// Two cards fly toward the top-left corner in ten steps; the caller then
// empties their cells.
void animate_pair_away(int first, int second);
// Called by pick_card and the stock press: the two-frame stock animation,
// then the next stock card onto the waste with a click.
void turn_stock_card(void);
// The rule part of a stock turn: shifts the stock down one cell onto the
// waste and counts it; returns 0 and changes nothing when the stock is empty.
int take_stock_card(void);
