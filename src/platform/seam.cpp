// The test builds' device: the virtual clock, the script of events and the
// hooks, over SDL's dummy drivers.
#include "platform/seam.h"
#include <SDL_mixer.h>
#include "platform/device.h"
#include "platform/video.h"

void (*plat_frame_hook)(void) = nullptr;
void (*plat_poll_hook)(void) = nullptr;
void (*plat_sound_hook)(int) = nullptr;
int plat_fail_flips = 0;
long plat_sleeps = 0;
JoystickState *plat_fake_joystick = nullptr;
int plat_unopenable_joystick = 0;

namespace {

int virtual_clock = 0;
uint32_t virtual_now = 0;
int woken = 0;  // the game slept, and has not polled since

struct ScriptedEvent {
    uint32_t at;
    SDL_Event event;
};
// Kept sorted by time.
ScriptedEvent script[PLAT_SCRIPT_MAX];
int script_count = 0;

bool due(uint32_t at, uint32_t now) { return (int32_t)(now - at) >= 0; }

void queue_due_events(void) {
    uint32_t now = device_ticks();
    int queued = 0;
    // SDL's queue holds only so many events; what does not fit waits for the
    // next poll instead of being dropped.
    while (queued < script_count && due(script[queued].at, now)) {
        if (SDL_PushEvent(&script[queued].event) != 0)
            break;
        plat_fake_joystick_follow(&script[queued].event);
        queued++;
    }
    if (queued == 0)
        return;
    for (int i = queued; i < script_count; i++)
        script[i - queued] = script[i];
    script_count -= queued;
}

}  // namespace

void plat_use_virtual_clock(uint32_t start_ms) {
    virtual_clock = 1;
    virtual_now = start_ms;
}

void plat_advance(uint32_t ms) { virtual_now += ms; }

int plat_script_event(uint32_t at, const SDL_Event *event) {
    if (script_count >= PLAT_SCRIPT_MAX)
        return 0;
    int i = script_count;
    while (i > 0 && !due(script[i - 1].at, at)) {
        script[i] = script[i - 1];
        i--;
    }
    script[i].at = at;
    script[i].event = *event;
    script_count++;
    return 1;
}

void plat_script_clear(void) { script_count = 0; }

int plat_script_pending(void) { return script_count; }

void plat_fake_joystick_follow(const SDL_Event *event) {
    JoystickState *fake = plat_fake_joystick;
    if (!fake)
        return;
    switch (event->type) {
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        if (event->jbutton.which == 0 && event->jbutton.button < JOY_BUTTONS)
            fake->button[event->jbutton.button] = event->type == SDL_JOYBUTTONDOWN;
        break;
    case SDL_JOYHATMOTION:
        if (event->jhat.which == 0 && event->jhat.hat == 0)
            fake->hat = event->jhat.value;
        break;
    case SDL_JOYAXISMOTION:
        if (event->jaxis.which == 0 && event->jaxis.axis < JOY_AXES)
            fake->axis[event->jaxis.axis] = event->jaxis.value;
        break;
    }
}

// ---- the device ------------------------------------------------------------

uint32_t device_ticks(void) { return virtual_clock ? virtual_now : SDL_GetTicks(); }

void device_sleep(uint32_t ms) {
    plat_sleeps++;
    woken = 1;
    if (virtual_clock)
        virtual_now += ms;
    else
        SDL_Delay(ms);
}

// One drain of the queue is one input poll, and costs PLAT_POLL_MS so that
// a busy loop makes progress; a poll that comes straight out of a sleep is
// on time, as a woken loop's first poll is.
int device_next_event(SDL_Event *event) {
    if (plat_poll_hook)
        plat_poll_hook();
    queue_due_events();
    int got = SDL_PollEvent(event);
    if (!got && virtual_clock && !woken)
        virtual_now += PLAT_POLL_MS;
    woken = got && woken;
    return got;
}

// The tests have no joystick of their own: only the fake one, or one that
// is listed but cannot be opened.
int device_open_joystick(SDL_Joystick **) { return plat_unopenable_joystick ? -1 : 0; }

int device_read_joystick(SDL_Joystick *, JoystickState *state) {
    if (!plat_fake_joystick)
        return 0;
    *state = *plat_fake_joystick;
    return 1;
}

int device_present(void) {
    int result;
    if (plat_fail_flips > 0) {
        plat_fail_flips--;
        result = -1;
    } else {
        result = SDL_Flip(screen);
    }
    if (virtual_clock)
        virtual_now += PLAT_FRAME_MS;
    if (plat_frame_hook)
        plat_frame_hook();
    return result;
}

void device_play(int sound, Mix_Chunk *chunk) {
    if (plat_sound_hook)
        plat_sound_hook(sound);
    Mix_PlayChannelTimed(-1, chunk, 0, -1);
}
