// The desktop pad: keyboard keys and joystick 0 become the console's
// numbered button events and states, and the mouse a pointer.
#include "platform/pad.h"
#include <SDL.h>
#include <stdio.h>
#include <string.h>
#include "platform/device.h"
#include "platform/joystick.h"
#include "platform/launcher.h"
#include "platform/video.h"
#include "platform/x11.h"

namespace {

SDL_Joystick *joystick = nullptr;  // stays null without a joystick

struct KeyBinding {
    SDLKey key;
    int button;
};

const KeyBinding key_map[] = {
    {SDLK_UP, BTN_UP},         {SDLK_LEFT, BTN_LEFT},
    {SDLK_DOWN, BTN_DOWN},     {SDLK_RIGHT, BTN_RIGHT},
    {SDLK_RETURN, BTN_START},  {SDLK_KP_ENTER, BTN_START},
    {SDLK_SPACE, BTN_A},       {SDLK_z, BTN_B},
    {SDLK_x, BTN_X},           {SDLK_c, BTN_Y},
    {SDLK_PLUS, BTN_VOLUP},    {SDLK_EQUALS, BTN_VOLUP},
    {SDLK_KP_PLUS, BTN_VOLUP}, {SDLK_MINUS, BTN_VOLDOWN},
    {SDLK_KP_MINUS, BTN_VOLDOWN},
#ifndef OG_CONSOLE
    {SDLK_ESCAPE, BTN_ESCAPE},
#endif
#ifdef __EMSCRIPTEN__
    // The browser's SDL passes on the DOM key codes it does not know: Chrome
    // sends = and + as 187 and - as 189 (Firefox's 61 and 173 it reads as =
    // and -).
    {(SDLKey)187, BTN_VOLUP},  {(SDLKey)189, BTN_VOLDOWN},
#endif
};

// The joystick's controls: its buttons 0 to JOY_BUTTONS-1, then the four
// directions of hat 0 in the order of SDL's hat bits, then the left stick
// pushed each way (axis 0 below and above its rest, then axis 1).
enum {
    HAT_UP = JOY_BUTTONS, HAT_RIGHT, HAT_DOWN, HAT_LEFT,
    STICK_LEFT, STICK_RIGHT, STICK_UP, STICK_DOWN,
    CONTROLS
};

// A stick direction goes down past half its throw and up again only inside
// a quarter: well clear of the drift of a worn stick at rest, far enough
// that a push mostly along one axis does not also take the other, and the
// gap keeps a stick held near the threshold from stepping the cursor again
// and again.
enum { STICK_PRESS = 16384, STICK_RELEASE = 8192 };

struct PadBinding {
    int control;
    int button;
};

#ifdef OG_CONSOLE
// The console's own pad numbers its buttons as the game does.
static_assert((int)JOY_BUTTONS > (int)BTN_VOLDOWN, "every console button is a joystick button");
const PadBinding pad_map[] = {
    {BTN_UP, BTN_UP},               {BTN_UPLEFT, BTN_UPLEFT},   {BTN_LEFT, BTN_LEFT},
    {BTN_DOWNLEFT, BTN_DOWNLEFT},   {BTN_DOWN, BTN_DOWN},       {BTN_DOWNRIGHT, BTN_DOWNRIGHT},
    {BTN_RIGHT, BTN_RIGHT},         {BTN_UPRIGHT, BTN_UPRIGHT}, {BTN_START, BTN_START},
    {BTN_A, BTN_A},                 {BTN_B, BTN_B},             {BTN_X, BTN_X},
    {BTN_Y, BTN_Y},                 {BTN_VOLUP, BTN_VOLUP},     {BTN_VOLDOWN, BTN_VOLDOWN},
};
#elif defined(__EMSCRIPTEN__)
// The browser's standard gamepad: face buttons 0 to 3, the shoulders 4 and 5
// volume down and up, Back 8 and Start 9 START, the d-pad as buttons 12 to
// 15 (up, down, left, right) and the left stick on axes 0 and 1. The
// triggers, 6 and 7, do nothing.
const PadBinding pad_map[] = {
    {12, BTN_UP},       {15, BTN_RIGHT},          {13, BTN_DOWN},         {14, BTN_LEFT},
    {STICK_UP, BTN_UP}, {STICK_RIGHT, BTN_RIGHT}, {STICK_DOWN, BTN_DOWN}, {STICK_LEFT, BTN_LEFT},
    {0, BTN_A},         {1, BTN_B},               {2, BTN_X},             {3, BTN_Y},
    {4, BTN_VOLDOWN},   {5, BTN_VOLUP},           {8, BTN_START},         {9, BTN_START},
};
#else
// A gamepad in the common Linux layout: face buttons A B X Y 0 to 3, the
// shoulders 4 and 5 volume down and up, and both Back 6 and Start 7 START,
// since a pad with few buttons may have only one of them. A diagonal holds
// two directions, of which the latches take one.
const PadBinding pad_map[] = {
    {HAT_UP, BTN_UP},   {HAT_RIGHT, BTN_RIGHT},   {HAT_DOWN, BTN_DOWN},   {HAT_LEFT, BTN_LEFT},
    {STICK_UP, BTN_UP}, {STICK_RIGHT, BTN_RIGHT}, {STICK_DOWN, BTN_DOWN}, {STICK_LEFT, BTN_LEFT},
    {0, BTN_A},         {1, BTN_B},               {2, BTN_X},             {3, BTN_Y},
    {4, BTN_VOLDOWN},   {5, BTN_VOLUP},           {6, BTN_START},         {7, BTN_START},
};
#endif

#ifdef OG_CONSOLE
const int KEYBOARD_TYPES = 0;
#else
const int KEYBOARD_TYPES = 1;
#endif
const char *typed_characters = nullptr;  // while the keyboard types

// The arrow is hidden from the start; the first motion only tells where the
// mouse is, since a window may report one as it opens.
int arrow_shown = 0, pointer_seen = 0, pointer_x = 0, pointer_y = 0;

unsigned char key_down[SDLK_LAST];     // mapped keys now held
int keys_holding[PAD_BUTTONS];         // held keys per button
unsigned char control_down[CONTROLS];  // the joystick's controls now held
unsigned char reported[PAD_BUTTONS];   // as the last event of each button said
unsigned char went_down[PAD_BUTTONS];  // since the last sample
unsigned char sampled[PAD_BUTTONS];

void show_arrow(int shown) {
    if (shown != arrow_shown)
        SDL_ShowCursor(shown);
    arrow_shown = shown;
}

int button_for_key(SDLKey key) {
    for (const KeyBinding &binding : key_map)
        if (binding.key == key)
            return binding.button;
    return -1;
}

// A button is down while any key or joystick control mapped to it is, so
// that letting go on one device leaves what the other still holds.
int button_held(int button) {
    if (keys_holding[button] > 0)
        return 1;
    for (const PadBinding &binding : pad_map)
        if (binding.button == button && control_down[binding.control])
            return 1;
    return 0;
}

// One event for the first button whose state differs from what its last
// event said; every change is taken before the next raw event.
int next_change(PadEvent *event) {
    for (int b = 0; b < PAD_BUTTONS; b++) {
        int held = button_held(b);
        if (held == reported[b])
            continue;
        reported[b] = (unsigned char)held;
        went_down[b] |= (unsigned char)held;
        if (held)
            show_arrow(0);
        event->type = held ? PAD_BUTTON_DOWN : PAD_BUTTON_UP;
        event->button = b;
        return 1;
    }
    return 0;
}

// The character a key types now, or 0 when it types none of the characters
// taken.
int typed_character(const SDL_keysym &keysym) {
    if (!typed_characters)
        return 0;
    if (keysym.sym == SDLK_BACKSPACE)
        return PAD_TEXT_DELETE;
    int c = keysym.unicode;
    return c >= 32 && c <= 126 && strchr(typed_characters, c) ? c : 0;
}

// Returns 1 with a PAD_TEXT event when the key types.
int take_key(const SDL_KeyboardEvent &key, PadEvent *event) {
    int down = key.type == SDL_KEYDOWN;
    int enter = key.keysym.sym == SDLK_RETURN || key.keysym.sym == SDLK_KP_ENTER;
    if (down && enter && (key.keysym.mod & KMOD_ALT)) {
        plat_toggle_fullscreen();
        return 0;
    }
    if (down && (event->text = typed_character(key.keysym))) {
        event->type = PAD_TEXT;
        show_arrow(0);
        return 1;
    }
    int button = button_for_key(key.keysym.sym);
    if (button < 0 || key_down[key.keysym.sym] == down)
        return 0;
    key_down[key.keysym.sym] = (unsigned char)down;
    keys_holding[button] += down ? 1 : -1;
    return 0;
}

// Returns 1 with a pointer event for the first button.
int take_mouse(const SDL_Event &raw, PadEvent *event) {
    if (raw.type == SDL_MOUSEMOTION) {
        if (pointer_seen && (raw.motion.x != pointer_x || raw.motion.y != pointer_y))
            show_arrow(1);
        pointer_seen = 1;
        pointer_x = raw.motion.x;
        pointer_y = raw.motion.y;
        return 0;
    }
    if (raw.button.button != SDL_BUTTON_LEFT)
        return 0;
    event->type = raw.type == SDL_MOUSEBUTTONDOWN ? PAD_POINTER_DOWN : PAD_POINTER_UP;
    event->x = raw.button.x;
    event->y = raw.button.y;
    return 1;
}

// Key-up events are lost while another window has the keyboard: every held
// key counts as released.
void release_all_keys(void) {
    for (int k = 0; k < SDLK_LAST; k++)
        key_down[k] = 0;
    for (int b = 0; b < PAD_BUTTONS; b++)
        keys_holding[b] = 0;
}

void set_hat(int bits) {
    for (int d = 0; d < 4; d++)
        control_down[HAT_UP + d] = (unsigned char)((bits >> d) & 1);
}

void set_axis(int axis, int value) {
    for (int side = 0; side < 2; side++) {
        unsigned char &down = control_down[STICK_LEFT + 2 * axis + side];
        int towards = side ? value : -value;
        if (towards >= STICK_PRESS)
            down = 1;
        else if (towards < STICK_RELEASE)
            down = 0;
    }
}

// Only what the map can name is taken: any other joystick, hat, axis or
// button is dropped. Returns 1 with the event when the raw one is a pointer
// event or a typed key; button changes come from the state it leaves.
int take_event(const SDL_Event &raw, PadEvent *event) {
    switch (raw.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return take_key(raw.key, event);
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return take_mouse(raw, event);
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        if (raw.jbutton.which == 0 && raw.jbutton.button < JOY_BUTTONS)
            control_down[raw.jbutton.button] = raw.type == SDL_JOYBUTTONDOWN;
        break;
    case SDL_JOYHATMOTION:
        if (raw.jhat.which == 0 && raw.jhat.hat == 0)
            set_hat(raw.jhat.value);
        break;
    case SDL_JOYAXISMOTION:
        if (raw.jaxis.which == 0 && raw.jaxis.axis < JOY_AXES)
            set_axis(raw.jaxis.axis, raw.jaxis.value);
        break;
    case SDL_ACTIVEEVENT:
        if ((raw.active.state & SDL_APPINPUTFOCUS) && !raw.active.gain)
            release_all_keys();
        break;
    }
    return 0;
}

}  // namespace

void pad_open_joystick(void) {
    if (device_open_joystick(&joystick) >= 0)
        return;
#if defined(OG_CONSOLE)
    // The handheld's joystick is its own pad: without it nothing can be played.
    fatal_error("Couldn't open joystick 0");
#elif defined(__EMSCRIPTEN__)
    // A browser lists empty slots until a pad's button is pressed on the
    // page; pad_sample looks for it from then on.
#else
    // A desktop lists pads it cannot open (another program has it); the
    // keyboard plays.
    fprintf(stderr, "Couldn't open joystick 0: playing with the keyboard.\n");
#endif
}

int pad_next_event(PadEvent *event) {
    SDL_Event raw;
    for (;;) {
        if (next_change(event))
            return 1;
        if (!device_next_event(&raw))
            return 0;
        if (raw.type == SDL_QUIT) {
            event->type = PAD_QUIT;
            return 1;
        }
        if (take_event(raw, event))
            return 1;
    }
}

void pad_type_characters(const char *characters) {
    if (!KEYBOARD_TYPES)
        return;
    typed_characters = characters;
    SDL_EnableUNICODE(characters != nullptr);
}

// SDL updates the joystick's state as it queues its events, and keeps
// updating it when the queue is full and events are dropped: the state wins,
// and a button it shows changed is reported at the next drain.
void pad_sample(void) {
#ifdef __EMSCRIPTEN__
    // A browser shows a gamepad to the page only once one of its buttons is
    // pressed there, long after start-up.
    if (!joystick)
        device_open_joystick(&joystick);
#endif
    JoystickState now;
    if (device_read_joystick(joystick, &now)) {
        for (int b = 0; b < JOY_BUTTONS; b++)
            control_down[b] = now.button[b];
        set_hat(now.hat);
        for (int a = 0; a < JOY_AXES; a++)
            set_axis(a, now.axis[a]);
    }
    for (int b = 0; b < PAD_BUTTONS; b++) {
        sampled[b] = (unsigned char)(button_held(b) || went_down[b]);
        went_down[b] = 0;
    }
}

int pad_button(int button) {
    if (button < 0 || button >= PAD_BUTTONS)
        return 0;
    return sampled[button];
}
