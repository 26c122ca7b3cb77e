// The end-of-table bonus, counted up on the table screen.
#pragma once

// Counts the bonus into the current player's score with its banners and
// sounds, then pauses two seconds. Called by play_table once, after a table
// that was cleared or taken rather than timed out.
void award_table_bonus(void);
