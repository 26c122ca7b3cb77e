// The platform layer: clock, frame presentation and the raw event queue,
// with the virtual clock and scripted events that let tests run any screen
// loop headless and without real waiting.
#include "shell/platform.h"

SDL_Surface *screen = nullptr;
SDL_Joystick *joystick = nullptr;

void (*plat_frame_hook)(void) = nullptr;
void (*plat_poll_hook)(void) = nullptr;
int plat_fail_flips = 0;

static int virtual_clock = 0;
static Uint32 virtual_now = 0;

struct ScriptedEvent {
    Uint32 at;
    SDL_Event event;
};
// Kept sorted by time; events of equal time keep the order they were given.
static ScriptedEvent script[PLAT_SCRIPT_MAX];
static int script_count = 0;

void plat_use_virtual_clock(Uint32 start_ms) {
    virtual_clock = 1;
    virtual_now = start_ms;
}

void plat_advance(Uint32 ms) { virtual_now += ms; }

Uint32 plat_ticks(void) { return virtual_clock ? virtual_now : SDL_GetTicks(); }

void plat_delay(Uint32 ms) {
    if (virtual_clock)
        virtual_now += ms;
    else
        SDL_Delay(ms);
}

int plat_flip(void) {
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

int plat_script_event(Uint32 at, const SDL_Event *event) {
    if (script_count >= PLAT_SCRIPT_MAX)
        return 0;
    int i = script_count;
    while (i > 0 && (Sint32)(script[i - 1].at - at) > 0) {
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

static void queue_due_events(void) {
    Uint32 now = plat_ticks();
    int due = 0;
    // SDL's queue holds only so many events; what does not fit waits for the
    // next poll instead of being dropped.
    while (due < script_count && (Sint32)(now - script[due].at) >= 0) {
        if (SDL_PushEvent(&script[due].event) != 0)
            break;
        due++;
    }
    if (due == 0)
        return;
    for (int i = due; i < script_count; i++)
        script[i - due] = script[i];
    script_count -= due;
}

int plat_poll_event(SDL_Event *event) {
    if (plat_poll_hook)
        plat_poll_hook();
    queue_due_events();
    int got = SDL_PollEvent(event);
    // One drain of the queue is one input poll: time moves once it is empty.
    if (!got && virtual_clock)
        virtual_now += PLAT_POLL_MS;
    return got;
}
