// Button input: polls the pad into one-shot latches with auto-repeat and
// handles the volume keys. Every waiting loop calls poll_input once a pass
// and clears a latch when it acts on it.
#pragma once
#include <stdint.h>

extern int press_left, press_right, press_up, press_down;
extern int press_action;         // a face button went down
extern int hold_start;           // START is down, or its press is pending
extern int stock_requested;      // raised and handled by the table controls
extern int takescore_requested;  // raised and handled by the table controls

extern int press_escape;         // the desktop's Escape went down

// A click or a tap: the pointer's first button down and up again. It waits,
// like a latch, for a screen to take it with take_click.
struct PointerClick {
    int pending;
    int down_x, down_y, up_x, up_y;  // game pixels
};
extern PointerClick pointer_click;

// Takes the pending click and returns what lies under it: the target that
// target_at finds both where the button went down and where it came up, or
// -1 when they differ, or when no click is pending. A screen's target_at
// reads the layout its drawing uses and returns -1 where there is nothing.
int take_click(int (*target_at)(int x, int y));
// The next character typed while the keyboard types (pad_type_characters),
// PAD_TEXT_DELETE for BackSpace, or 0 when none waits.
int take_typed(void);

// The volume overlay is drawn while the clock is below this tick; 0 hides it.
extern uint32_t volume_shown_until;

// Drains the pad's events and samples it once; never blocks. Closing the
// window sets exit_requested.
void poll_input(void);
// 1 while a latch of the pad or a click waits for a screen to act on it;
// the table loop idles only when none does.
int input_pending(void);
// The next tick at which a poll may latch something without a new event: a
// held direction's repeat or a held volume key's next step. Far ahead when
// nothing is held. The table loop idles no longer than this.
uint32_t input_next_deadline(void);
// Clears the latches, a click and a press of the pointer, what was typed,
// and hides the overlay; leaves the repeat timers. Called by every screen as
// it begins.
void reset_input(void);
