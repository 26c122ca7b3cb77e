// The platform layer: the only code that calls SDL, SDL_image or SDL_mixer.
// This header is its clock, its waits, its frames and its start and end;
// video.h, assets.h, audio.h, pad.h and launcher.h hold the rest. Nothing
// here names an SDL type, so the layers above compile without SDL's headers.
//
// How a loop waits is the build's: the handheld's build (OG_CONSOLE) never
// sleeps in the table or its animations and presents every frame it draws,
// as the handheld's own code did; the desktop and the browser sleep until
// their next deadline and present at most one frame every 16 ms. The loops
// call the same functions in every build.
#pragma once
#include <stdint.h>
#include "platform/launcher.h"

// SDL, the 320x240 16-bit display, audio, the default volume, the random
// seed and joystick 0, in that order; any failure ends in fatal_error.
// Called once by the entry routine.
void init_platform(void);
// Frees the assets, closes audio, quits SDL and hands back to the launcher;
// returns only when the launcher cannot be started. Called once by the entry
// routine after the game flow.
void shutdown_platform(void);

// Milliseconds since SDL started. Every loop reads time through this.
uint32_t plat_ticks(void);
// Earlier of two ticks, wrap-safe: loops that wait for several deadlines
// hand the nearest to the waits below.
uint32_t plat_earliest(uint32_t a, uint32_t b);

// The handheld's frame: an animation moves one step every this many ms.
enum { FRAME_STEP_MS = 10 };
// The longest an idle pass sleeps, so that a key is seen within a step.
enum { IDLE_LONGEST_MS = FRAME_STEP_MS };

// Waits this long in every build: the menus and name entry pace their
// frames with it.
void plat_delay(uint32_t ms);
// The end of one step of an animation or of the final screen: waits until
// the tick where the build paces itself by the clock; the handheld goes
// straight on, its pace being that of drawing.
void plat_wait_until(uint32_t tick);
// A pass of a loop that found nothing to do: sleeps until the tick, and at
// most IDLE_LONGEST_MS, where the build idles; the handheld never sleeps.
// Called by the table loop.
void plat_idle_until(uint32_t tick);
// Presents the screen; returns -1 when the display refuses the frame. Where
// the build limits its frame rate, a frame drawn too soon after the last one
// is held, shown by the next wait once it may be, or replaced by a newer
// frame; a held frame that the display refused is reported by the next call.
// Every screen calls it once per frame, after drawing.
int plat_flip(void);
// Shows the held frame, if any, as soon as the frame rate allows: called at
// the end of each animation, so that its last frame always reaches the
// screen. Returns -1 when the display refuses it.
int plat_show_held_frame(void);
