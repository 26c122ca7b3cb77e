// The test builds' device (seam.cpp, linked in place of device.cpp): a
// virtual clock, scripted events pushed through SDL's own queue, and hooks,
// so that any screen loop runs headless and without real waiting. The game
// binary has none of it. Included by the tests, the screenshot tool and the
// benchmarks.
#pragma once
#include <SDL.h>
#include <stdint.h>
#include "platform/joystick.h"

// On the virtual clock time never passes by itself: a sleep adds the time
// asked, a presented frame adds PLAT_FRAME_MS (the handheld takes about a
// step to draw one, a desktop next to nothing), and a drained event queue
// adds PLAT_POLL_MS (except right after a sleep), so that every busy loop
// makes progress. Until it is started the clock is SDL's own.
#ifdef OG_CONSOLE
enum { PLAT_FRAME_MS = 10, PLAT_POLL_MS = 1 };
#else
enum { PLAT_FRAME_MS = 0, PLAT_POLL_MS = 1 };
#endif
void plat_use_virtual_clock(uint32_t start_ms);
void plat_advance(uint32_t ms);

// A scripted event is pushed into SDL's queue once the clock reaches `at`;
// events of equal time keep the order they were given. Up to
// PLAT_SCRIPT_MAX events may wait at once.
enum { PLAT_SCRIPT_MAX = 4096 };
int plat_script_event(uint32_t at, const SDL_Event *event);
void plat_script_clear(void);
int plat_script_pending(void);

// Hooks a test may set, null by default: after every presented frame, at
// every event poll (before due scripted events are queued), and for every
// sound effect started.
extern void (*plat_frame_hook)(void);
extern void (*plat_poll_hook)(void);
extern void (*plat_sound_hook)(int sound);
// When set, presenting fails this many times from now on.
extern int plat_fail_flips;
// How many times the game has slept.
extern long plat_sleeps;

// Tests have no joystick: while this points at a state, the pad reads
// joystick 0 from it instead of from SDL. Every scripted event of joystick 0
// updates it as the event joins SDL's queue, as SDL updates a real device;
// plat_fake_joystick_follow alone changes the device without an event, as
// when SDL drops one from a full queue.
extern JoystickState *plat_fake_joystick;
// When set, the system lists a joystick that cannot be opened.
extern int plat_unopenable_joystick;
void plat_fake_joystick_follow(const SDL_Event *event);
