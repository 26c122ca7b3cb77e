// The name-entry screen the game flow runs for a top-ten score.
#pragma once

// Called by the game flow for a player whose score qualifies; returns once
// the name is accepted, stored in the player's record and entered in the
// table. A failed flip or a closed window accepts at once and leaves
// exit_requested set.
void run_name_entry(int player);
