// The end-of-table bonus, step by step: the bonus count on the screen takes
// one step per frame, and each step changes the table and the score here.
#pragma once

// The cleared table's prize for the current player.
void score_cleared_table(void);
// One step of the time left: ten ticks (or what is left of them) for 50
// points. Call while time_left > 0.
void score_time_step(void);
// One card left in the stock for 1000 points. Call while stock_count > 0.
void score_stock_step(void);
