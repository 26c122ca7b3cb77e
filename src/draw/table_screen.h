// The table screen: one whole frame of a running table, then presented.
#pragma once

enum {
    OVERLAY_NONE = 0,
    OVERLAY_READY = 1,
    OVERLAY_CLEARED = 2,
    OVERLAY_TIMESUP = 3,
    OVERLAY_GAMEOVER = 4
};

// Draws and presents the whole frame; a failed flip is fatal. Called by
// animate_for on every frame, by the deal, the table loop's ticks, the table
// controls and pick_card after they change the table, and by the game flow's
// final screen with OVERLAY_GAMEOVER. Leaves font1 current, or font3 when
// the volume overlay drew. Codes outside 0..4 draw like OVERLAY_NONE.
void draw_table(int overlay);
// The card of slot s (0..33) at (x, y), with its highlight and the cursor;
// only draw_table calls it, for the slots, the waste and cards in flight.
void draw_card(int s, int x, int y);
// What lies under the point (x, y) as draw_table draws it: the take-score
// button, the stock picture, or the topmost card there (a table slot or the
// waste, free or covered); NO_SLOT on the felt. The table controls find
// what a click acts on with it.
int table_target_at(int x, int y);
