// The desktop pad: keyboard keys and joystick 0 become the console's
// numbered button events and states.
#include "platform/pad.h"
#include <SDL.h>
#include "platform/launcher.h"
#include "platform/video.h"
#ifdef OG_TEST_SEAM
#include "platform/seam.h"
#endif

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
};

unsigned char key_down[SDLK_LAST];  // mapped keys now held
int keys_holding[PAD_BUTTONS];      // held keys per button
unsigned char joy_down[PAD_BUTTONS];
unsigned char went_down[PAD_BUTTONS];  // since the last sample
unsigned char sampled[PAD_BUTTONS];
unsigned char release_due[PAD_BUTTONS];  // up events still to deliver

int button_for_key(SDLKey key) {
    for (const KeyBinding &binding : key_map)
        if (binding.key == key)
            return binding.button;
    return -1;
}

void make_button_event(PadEvent *event, int button, int down) {
    event->type = down ? PAD_BUTTON_DOWN : PAD_BUTTON_UP;
    event->button = button;
}

// A key event of a mapped key becomes a button event when the button's
// state changes; a second key on an already held button adds nothing.
int translate_key(const SDL_KeyboardEvent &key, PadEvent *event) {
    int down = key.type == SDL_KEYDOWN;
    int enter = key.keysym.sym == SDLK_RETURN || key.keysym.sym == SDLK_KP_ENTER;
    if (down && enter && (key.keysym.mod & KMOD_ALT)) {
        if (screen)
            SDL_WM_ToggleFullScreen(screen);
        return 0;
    }
    int button = button_for_key(key.keysym.sym);
    if (button < 0 || key_down[key.keysym.sym] == down)
        return 0;
    key_down[key.keysym.sym] = (unsigned char)down;
    keys_holding[button] += down ? 1 : -1;
    if (down && keys_holding[button] == 1) {
        went_down[button] = 1;
        make_button_event(event, button, 1);
        return 1;
    }
    if (!down && keys_holding[button] == 0) {
        make_button_event(event, button, 0);
        return 1;
    }
    return 0;
}

// Key-up events are lost while another window has the keyboard: every held
// key counts as released, and its button's up event is still delivered so
// that START does not stay down.
void release_all_keys(void) {
    for (int k = 0; k < SDLK_LAST; k++)
        key_down[k] = 0;
    for (int b = 0; b < PAD_BUTTONS; b++) {
        if (keys_holding[b] > 0 && !joy_down[b])
            release_due[b] = 1;
        keys_holding[b] = 0;
    }
}

int next_release(PadEvent *event) {
    for (int b = 0; b < PAD_BUTTONS; b++)
        if (release_due[b]) {
            release_due[b] = 0;
            make_button_event(event, b, 0);
            return 1;
        }
    return 0;
}

int translate_event(const SDL_Event &raw, PadEvent *event) {
    switch (raw.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return translate_key(raw.key, event);
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        if (raw.jbutton.button >= PAD_BUTTONS)
            return 0;
        {
            int down = raw.type == SDL_JOYBUTTONDOWN;
            joy_down[raw.jbutton.button] = (unsigned char)down;
            if (down)
                went_down[raw.jbutton.button] = 1;
            make_button_event(event, raw.jbutton.button, down);
        }
        return 1;
    case SDL_QUIT:
        event->type = PAD_QUIT;
        return 1;
    case SDL_ACTIVEEVENT:
        if ((raw.active.state & SDL_APPINPUTFOCUS) && !raw.active.gain)
            release_all_keys();
        return 0;
    default:
        return 0;
    }
}

// Every event the game sees is taken here. In test builds the scripted
// events that are due join SDL's queue first, and an empty queue lets the
// virtual clock move on.
int poll_raw_event(SDL_Event *raw) {
#ifdef OG_TEST_SEAM
    seam_before_poll();
#endif
    int got = SDL_PollEvent(raw);
#ifdef OG_TEST_SEAM
    if (!got)
        seam_queue_drained();
#endif
    return got;
}

}  // namespace

void pad_open_joystick(void) {
    if (SDL_NumJoysticks() <= 0)
        return;
    joystick = SDL_JoystickOpen(0);
    if (!joystick)
        fatal_error("Couldn't open joystick 0");
}

int pad_next_event(PadEvent *event) {
    SDL_Event raw;
    for (;;) {
        if (next_release(event))
            return 1;
        if (!poll_raw_event(&raw))
            return 0;
        if (translate_event(raw, event))
            return 1;
    }
}

void pad_sample(void) {
    for (int b = 0; b < PAD_BUTTONS; b++) {
        int down = keys_holding[b] > 0 || joy_down[b] || went_down[b];
        if (joystick && b < SDL_JoystickNumButtons(joystick) && SDL_JoystickGetButton(joystick, b))
            down = 1;
        sampled[b] = (unsigned char)down;
        went_down[b] = 0;
    }
}

int pad_button(int button) {
    if (button < 0 || button >= PAD_BUTTONS)
        return 0;
    return sampled[button];
}
