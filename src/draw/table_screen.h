// The table screen: one whole frame of a running table, then SDL_Flip.
#pragma once

enum {
    OVERLAY_NONE = 0,
    OVERLAY_READY = 1,
    OVERLAY_CLEARED = 2,
    OVERLAY_TIMESUP = 3,
    OVERLAY_GAMEOVER = 4
};

// Draws and presents the frame; a failed flip is fatal.
void draw_table(int overlay);
// The card of slot s at (x, y), with its highlight and the cursor.
void draw_card(int s, int x, int y);
