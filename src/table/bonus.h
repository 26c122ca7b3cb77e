// The end-of-table bonus, counted up on the table screen.
#pragma once

// Points the time left is worth: 50 per started ten ticks.
int time_bonus_points(int time_left);
// The whole bonus of a table that ended with this much left: the time, and
// for a cleared table 10000 plus 1000 per card left in the stock.
int table_bonus_points(int cleared, int time_left, int stock_count);
// Counts the bonus into the current player's score with its banners and
// sounds, then pauses two seconds. Called by play_table once, after a table
// that was cleared or taken rather than timed out.
void award_table_bonus(void);
