// Walking the character grid and editing the name it builds.
#include "rules/name_grid.h"
#include <string.h>
#include "rules/high_scores.h"

const char name_grid[79] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz1234567890.?!@#$%&*()/- {}";

namespace {

// Steps that wrap round the grid: a row up is the same as five rows down.
const int grid_steps[] = {GRID_SIZE - GRID_COLUMNS, GRID_COLUMNS, GRID_SIZE - 1, 1};

// The old name goes as a whole on the first edit, never letter by letter.
void clear_if_untouched(NameEntry *entry) {
    if (!entry->untouched)
        return;
    memset(entry->buffer, 0, sizeof entry->buffer);
    entry->untouched = 0;
}

}  // namespace

void name_entry_begin(NameEntry *entry, const char *old_name) {
    memset(entry->buffer, 0, sizeof entry->buffer);
    copy_name(entry->buffer, old_name);
    entry->untouched = 1;
    entry->length = 0;
    entry->cursor = 0;
    entry->accept = 0;
}

int name_cursor_step(int cursor, int move) { return (cursor + grid_steps[move]) % GRID_SIZE; }

void name_entry_pick(NameEntry *entry) { name_entry_type(entry, name_grid[entry->cursor]); }

void name_entry_type(NameEntry *entry, char c) {
    if (c == '\0' || !strchr(name_grid, c))
        return;
    if (c == GRID_ACCEPT) {
        entry->accept = 1;
    } else if (c == GRID_DELETE) {
        clear_if_untouched(entry);
        if (entry->length > 0)
            entry->buffer[--entry->length] = '\0';
    } else if (entry->length < NAME_TYPED_MAX) {
        clear_if_untouched(entry);
        entry->buffer[entry->length++] = c;
    }
}
