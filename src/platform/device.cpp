// The device as the game ships: SDL's clock, queue, joystick, display and
// mixer, with nothing in between.
#include "platform/device.h"
#include <SDL_mixer.h>
#include "platform/video.h"

uint32_t device_ticks(void) { return SDL_GetTicks(); }

void device_sleep(uint32_t ms) { SDL_Delay(ms); }

int device_next_event(SDL_Event *event) { return SDL_PollEvent(event); }

int device_open_joystick(SDL_Joystick **joystick) {
    if (SDL_NumJoysticks() <= 0)
        return 0;
    *joystick = SDL_JoystickOpen(0);
    return *joystick ? 1 : -1;
}

int device_read_joystick(SDL_Joystick *joystick, JoystickState *state) {
    if (!joystick)
        return 0;
    int buttons = SDL_JoystickNumButtons(joystick), axes = SDL_JoystickNumAxes(joystick);
    for (int b = 0; b < JOY_BUTTONS; b++)
        state->button[b] = b < buttons && SDL_JoystickGetButton(joystick, b);
    state->hat = SDL_JoystickNumHats(joystick) > 0 ? SDL_JoystickGetHat(joystick, 0) : SDL_HAT_CENTERED;
    for (int a = 0; a < JOY_AXES; a++)
        state->axis[a] = a < axes ? SDL_JoystickGetAxis(joystick, a) : 0;
    return 1;
}

int device_present(void) { return SDL_Flip(screen); }

void device_play(int, Mix_Chunk *chunk) { Mix_PlayChannelTimed(-1, chunk, 0, -1); }
