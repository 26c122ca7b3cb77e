// The random source, the shuffled deck and the moves of cards between the
// waste, the stock and the table.
#pragma once

enum { DECK_CARDS = 52 };

// Uniform integer 0..n from rand(), which start-up seeds; 0 below n = 1.
int random_upto(int n);
// The deck (four of each value 1..13) shuffled with 52 full-range swaps.
// Called by the deal; its order becomes the table's.
void shuffle_deck(int deck[DECK_CARDS]);
// The rule part of a stock turn: shifts the stock down one cell onto the
// waste and counts it; returns 0 and changes nothing when the stock is
// empty. Called by turn_stock_card.
int take_stock_card(void);
// The stock press after its flight: the waste card into the table slot
// `gap`, the cursor onto it, both choices dropped. Called by the table
// controls.
void place_waste_card(int gap);
