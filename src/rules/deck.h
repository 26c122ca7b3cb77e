// The random source, the shuffled deck and the moves of cards between the
// waste, the stock and the table.
#pragma once

enum { DECK_CARDS = 52 };

// Uniform integer 0..n from rand(), which start-up seeds; 0 below n = 1.
int random_upto(int n);
// The deck (four of each value 1..13) shuffled with 52 full-range swaps.
// Called by the deal; its order becomes the table's.
void shuffle_deck(int deck[DECK_CARDS]);
// The deal, card by card in slot order, around each flight: the table
// emptied and both choices dropped first; before card i flies, the waste
// shows it and the stock the card after; after its flight it lies in slot
// i; at the end the waste and the stock take the rest of the deck.
void deal_begin(void);
void deal_show_next(const int deck[DECK_CARDS], int i);
void deal_place(const int deck[DECK_CARDS], int i);
void deal_finish(const int deck[DECK_CARDS]);
// The rule part of a stock turn: shifts the stock down one cell onto the
// waste and counts it; returns 0 and changes nothing when the stock is
// empty. Called by turn_stock_card.
int take_stock_card(void);
// Where a stock press puts the waste card: the lowest gap of the table, or
// -1 when the press can do nothing (no stock card, or no gap).
int stock_press_gap(void);
// The stock press after its flight: the waste card into the table slot
// `gap`, the cursor onto it, both choices dropped. Called by the table
// controls.
void place_waste_card(int gap);
