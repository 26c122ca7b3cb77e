// The top ten on disk: the table's bytes from the rules, the file from the
// platform.
#pragma once

// Called once by the entry routine before the display comes up: fills the
// table from "scores", or empties it silently when there is no such file.
void load_high_scores(void);
// Called by the game flow after every name entry, and as a lost display
// ends one; failure is silent and the table in memory stays as it is.
void save_high_scores(void);
