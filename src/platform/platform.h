// The platform layer: the only code that calls SDL, SDL_image or SDL_mixer.
// This header is its clock, its frames and its start and end; video.h,
// assets.h, audio.h, pad.h and launcher.h hold the rest. Nothing here names an SDL type,
// so the layers above compile without SDL's headers.
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
// Waits this long. Used by the menus and name entry to pace their frames.
void plat_delay(uint32_t ms);
// Waits until the tick, when it lies ahead: the animations draw one frame
// per 10 ms step, the handheld's own pace, and no more.
void plat_wait_until(uint32_t tick);
// Gives the processor away for about a millisecond: called by the table
// loop after a pass that found nothing to do, so that an untouched table
// costs next to nothing and a key still waits at most that long.
void plat_idle(void);
// The handheld's frame: animations draw one frame per step of this many ms.
enum { FRAME_STEP_MS = 10 };
// Presents the screen; returns -1 when the display refuses the frame.
// Every screen calls it once per frame, after drawing.
int plat_flip(void);
