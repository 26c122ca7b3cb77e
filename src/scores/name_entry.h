// Name entry on the 78-character grid: the screen the game flow runs for a
// top-ten score, and the pure steps it is made of.
#pragma once

enum { GRID_COLUMNS = 13, GRID_ROWS = 6, GRID_SIZE = 78, NAME_TYPED_MAX = 13 };
enum { GRID_UP, GRID_DOWN, GRID_LEFT, GRID_RIGHT };

extern const char name_grid[79];

// One entry in progress; run_name_entry keeps it on its stack.
struct NameEntry {
    char buffer[20];  // the name being edited, always NUL-terminated
    int untouched;    // 1 while the buffer still holds the old name
    int length;       // characters typed since the buffer was cleared, 0..13
    int cursor;       // index into name_grid
    int accept;       // 1 once the entry is finished
};

// Called by run_name_entry as it starts: the old name, untouched, cursor on "A".
void name_entry_begin(NameEntry *entry, const char *old_name);
// Called by run_name_entry for each direction latch: the cursor one row up or
// down (same column, wrapping top to bottom) or one place back or on in
// reading order (wrapping from "}" to "A"). Returns the new cursor.
int name_cursor_step(int cursor, int move);
// Called by run_name_entry for a face-button press: the character under the
// cursor is typed, "{" deletes and "}" accepts.
void name_entry_pick(NameEntry *entry);

// Called by the game flow for a player whose score qualifies; returns once
// the name is accepted, stored in the player's record and entered in the
// table. A failed flip or a closed window accepts at once and leaves
// exit_requested set.
void run_name_entry(int player);
