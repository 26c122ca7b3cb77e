// The character grid of name entry and the editing of a name on it: pure
// steps over one entry, which the name-entry screen runs frame by frame.
#pragma once

enum { GRID_COLUMNS = 13, GRID_ROWS = 6, GRID_SIZE = 78, NAME_TYPED_MAX = 13 };
enum { GRID_UP, GRID_DOWN, GRID_LEFT, GRID_RIGHT };
// The two commands among the characters.
enum { GRID_DELETE = '{', GRID_ACCEPT = '}' };

// The 78 characters, row by row; "{" deletes and "}" accepts.
extern const char name_grid[79];

// One entry in progress, kept by the name-entry screen.
struct NameEntry {
    char buffer[20];  // the name being edited, always NUL-terminated
    int untouched;    // 1 while the buffer still holds the old name
    int length;       // characters typed since the buffer was cleared, 0..13
    int cursor;       // index into name_grid
    int accept;       // 1 once the entry is finished
};

// The old name, untouched, cursor on "A". Called as the screen starts.
void name_entry_begin(NameEntry *entry, const char *old_name);
// The cursor one row up or down (same column, wrapping top to bottom) or
// one place back or on in reading order (wrapping from "}" to "A"). Called
// for each direction latch; returns the new cursor.
int name_cursor_step(int cursor, int move);
// A face-button press: the character under the cursor is typed, "{"
// deletes and "}" accepts.
void name_entry_pick(NameEntry *entry);
// A character of the grid entered as if it were picked, wherever the cursor
// is: typed on a keyboard. Characters off the grid change nothing.
void name_entry_type(NameEntry *entry, char c);
