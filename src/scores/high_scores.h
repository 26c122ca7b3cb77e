// The top-ten table, its file "scores", qualification and insertion.
// Nothing here touches SDL.
#pragma once
#include <stdint.h>

struct HighScoreEntry {
    char name[20];
    int32_t score;
};

extern HighScoreEntry high_scores[10];
extern int new_entry_row[2];  // row of each player's last entry, -1 none

// Copies at most 19 bytes, stopping after the source's NUL, padding with NUL;
// never writes the 20th byte of the destination.
void copy_name(char *dest, const char *src);
void load_high_scores(void);
void save_high_scores(void);
int score_qualifies(int score);
// Returns the row used, or -1.
int insert_high_score(int player, const char *name, int score);
