// The pad: the console's numbered buttons, answered by the keyboard always
// and by joystick 0 when there is one, read with the console's own numbers
// in the handheld's build (OG_CONSOLE) and as a common gamepad elsewhere;
// and the pointer, in game pixels. The input latches see only these events
// and button states, never raw keys, joystick controls or mouse events.
#pragma once

enum {
    BTN_UP = 0, BTN_UPLEFT = 1, BTN_LEFT = 2, BTN_DOWNLEFT = 3,
    BTN_DOWN = 4, BTN_DOWNRIGHT = 5, BTN_RIGHT = 6, BTN_UPRIGHT = 7,
    BTN_START = 8, BTN_A = 12, BTN_B = 13, BTN_X = 14, BTN_Y = 15,
    BTN_VOLUP = 16, BTN_VOLDOWN = 17,
    // None on the handheld: the desktop's Escape.
    BTN_ESCAPE = 18,
    PAD_BUTTONS = 19
};

// Besides the buttons: the window closed, the pointer (a mouse's first
// button, or a touch that SDL reports as one) going down or up, and a key
// typed while the keyboard types (pad_type_characters).
enum PadEventType { PAD_BUTTON_DOWN, PAD_BUTTON_UP, PAD_QUIT, PAD_POINTER_DOWN, PAD_POINTER_UP, PAD_TEXT };

// What BackSpace types.
enum { PAD_TEXT_DELETE = 8 };

struct PadEvent {
    int type;    // PadEventType
    int button;  // for the button events
    int x, y;    // for the pointer events: game pixels, whatever the window's scale
    int text;    // for PAD_TEXT: the character, 32..126, or PAD_TEXT_DELETE
};

// Opens joystick 0 when the system reports one; fatal when it cannot.
// Called once by init_platform.
void pad_open_joystick(void);

// Takes the next event of the display's queue in the console's terms: a
// button goes down when the first key or joystick control mapped to it does,
// and up when the last one lets go; closing the window becomes PAD_QUIT; the
// pointer's first button comes with its position. Everything else is
// dropped. The mouse's arrow shows once the mouse moves over the window and
// hides at the next key or pad press. Returns 0 once the queue is empty.
// Called by poll_input, which drains it on every poll.
int pad_next_event(PadEvent *event);

// While `characters` is not null, a key whose character is among them is
// typed (PAD_TEXT) instead of pressing its button, and BackSpace types
// PAD_TEXT_DELETE; null ends the typing. On the desktop and in the browser
// only: the handheld has no keyboard to type with. Called by name entry as
// it begins and ends.
void pad_type_characters(const char *characters);

// Freezes the button states for one poll: from now until the next sample a
// button reads as down if it is held, or if it went down at any moment since
// the previous sample (so a quick tap is never lost). The joystick's own
// state is read here too, so that a lost button-up leaves nothing held; the
// events it missed come at the next drain. Called by poll_input.
void pad_sample(void);
// A button's state as of the last pad_sample: 1 down, 0 up.
int pad_button(int button);
