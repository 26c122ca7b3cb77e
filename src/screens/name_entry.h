// The name-entry screen the game flow runs for a top-ten score.
#pragma once
#include "rules/name_grid.h"

// Called by the game flow for a player whose score qualifies; returns once
// the name is accepted, stored in the player's record and entered in the
// table. A failed flip or a closed window accepts at once and leaves
// exit_requested set.
void run_name_entry(int player);
// Accepts the running entry with the name as it stands, as a failed flip
// does; returns 0 when no entry is running. Called by the game flow when
// the display is lost during an entry.
int accept_running_entry(void);
// One frame of the screen for the entry as it stands, not yet presented.
// Drawn by run_name_entry after each wait; the frame benchmark measures it.
void draw_name_entry(const NameEntry *entry, int player);
