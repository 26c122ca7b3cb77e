// The end-of-table bonus, counted up on the table screen.
#pragma once

// Points the time left is worth: 50 per started ten ticks.
int time_bonus_points(int time_left);
void award_table_bonus(void);
