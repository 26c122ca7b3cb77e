// The test seam, compiled into test builds only (OG_TEST_SEAM): a virtual
// clock, scripted events pushed through SDL's own queue, and hooks, so that
// any screen loop runs headless and without real waiting. The game binary
// has none of it.
#pragma once
#include <SDL.h>
#include <stdint.h>
#include "platform/joystick.h"

// On the virtual clock time never passes by itself: a delay adds the time
// asked, a presented frame adds PLAT_FRAME_MS and each drained event queue
// adds PLAT_POLL_MS, so every busy loop makes progress.
enum { PLAT_FRAME_MS = 10, PLAT_POLL_MS = 1 };
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
// When set, plat_flip reports failure this many times from now on.
extern int plat_fail_flips;
// How many times a loop has idled (plat_idle).
extern long plat_idles;

// Tests have no joystick: while this points at a state, the pad reads
// joystick 0 from it instead of from SDL. Every scripted event of joystick 0
// updates it as the event joins SDL's queue, as SDL updates a real device;
// plat_fake_joystick_follow alone changes the device without an event, as
// when SDL drops one from a full queue.
extern JoystickState *plat_fake_joystick;
void plat_fake_joystick_follow(const SDL_Event *event);

// The platform's side of the seam.
extern int seam_virtual_clock;
extern uint32_t seam_now;
void seam_before_poll(void);
void seam_queue_drained(void);
int seam_flip(void);
