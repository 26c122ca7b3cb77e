// The thin platform layer: the one place that reads the clock, waits,
// presents frames and pulls raw SDL events. A test swaps the real clock for a
// virtual one and feeds scripted events through the same queue.
#pragma once
#include <SDL.h>

// Owned here, created by init_platform.
extern SDL_Surface *screen;
extern SDL_Joystick *joystick;

// Start-up of SDL, video, audio, volume, seed, joystick and the game's start
// values; any failure ends in fatal_error. Called once by the entry routine.
void init_platform(void);

// Writes the message and SDL's error text to standard error, quits SDL and
// hands back to the launcher; exits with status 1 when there is none.
[[noreturn]] void fatal_error(const char *message);

// Milliseconds, as SDL_GetTicks (or the virtual clock in tests).
Uint32 plat_ticks(void);
// As SDL_Delay; on the virtual clock it only advances time.
void plat_delay(Uint32 ms);
// Presents `screen` with SDL_Flip; returns its result (-1 on failure).
int plat_flip(void);
// As SDL_PollEvent; scripted events that are due are queued first.
int plat_poll_event(SDL_Event *event);

// ---- test seam -----------------------------------------------------------
// On the virtual clock time never passes by itself: a delay adds the time
// asked, a presented frame adds PLAT_FRAME_MS and each event poll adds
// PLAT_POLL_MS, so every busy loop makes progress.
enum { PLAT_FRAME_MS = 10, PLAT_POLL_MS = 1 };
void plat_use_virtual_clock(Uint32 start_ms);
void plat_advance(Uint32 ms);

// A scripted event is pushed into SDL's queue once the clock reaches `at`.
// Up to PLAT_SCRIPT_MAX events may wait at once.
enum { PLAT_SCRIPT_MAX = 4096 };
int plat_script_event(Uint32 at, const SDL_Event *event);
void plat_script_clear(void);
int plat_script_pending(void);

// Hooks a test may set: called after every presented frame and at every
// event poll (before due scripted events are queued). Null by default.
extern void (*plat_frame_hook)(void);
extern void (*plat_poll_hook)(void);
// When set, plat_flip reports failure this many times from now on (-1 each);
// lets tests reach the failed-flip paths. 0 by default.
extern int plat_fail_flips;
