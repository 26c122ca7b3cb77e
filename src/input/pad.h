// The desktop pad: the console's numbered buttons, answered by joystick 0
// when there is one and by the keyboard always. The input poll sees only
// button events and button states from here, never raw keys.
#pragma once
#include <SDL.h>

enum {
    BTN_UP = 0, BTN_UPLEFT = 1, BTN_LEFT = 2, BTN_DOWNLEFT = 3,
    BTN_DOWN = 4, BTN_DOWNRIGHT = 5, BTN_RIGHT = 6, BTN_UPRIGHT = 7,
    BTN_START = 8, BTN_A = 12, BTN_B = 13, BTN_X = 14, BTN_Y = 15,
    BTN_VOLUP = 16, BTN_VOLDOWN = 17, PAD_BUTTONS = 18
};

// The pad button a key stands for, or -1.
int pad_button_for_key(SDLKey key);

// Takes the next SDL event and turns it into the console's terms: key events
// of mapped keys become SDL_JOYBUTTONDOWN/UP events of their button, joystick
// button events pass as they are, closing the window sets exit_requested and
// yields no event. Returns 0 once the queue is empty.
int pad_next_event(SDL_Event *event);

// Freezes the button states for one poll: from now until the next sample a
// button reads as down if it is held, or if it went down at any moment since
// the previous sample (so a quick tap is never lost).
void pad_sample(void);
// A button's state as of the last pad_sample: 1 down, 0 up.
int pad_button(int button);
