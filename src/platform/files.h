// The game's own file on disk, "scores" in the working folder: read whole at
// start-up, replaced whole after each name entry. No SDL here; the assets
// aside, which SDL reads, no other code touches the file system.
#pragma once
#include <stddef.h>

// Reads at most `capacity` bytes of the regular file `name` of the working
// folder; returns how many, or -1 when there is none to read (missing,
// unreadable, a folder, a FIFO, a device). Called by load_high_scores.
long plat_read_file(const char *name, char *bytes, size_t capacity);
// Makes the bytes the whole content of the file `name` of the working
// folder, silently doing nothing when it cannot. A plain file is replaced
// whole or not at all, through a temporary of this save's own and a rename;
// a link, a second name, a file with an ACL, one whose group a new file
// could not keep, or one in a read-only folder is written in place; a file
// the player may not write is left alone. Called by save_high_scores.
void plat_save_file(const char *name, const char *bytes, size_t size);
