// Start-up and shutdown of SDL, the clock and the presentation of frames.
#include "platform/platform.h"
#include <stdlib.h>
#include <SDL.h>
#include <SDL_mixer.h>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif
#include "platform/assets.h"
#include "platform/audio.h"
#include "platform/launcher.h"
#include "platform/pad.h"
#include "platform/ticks.h"
#include "platform/video.h"
#include "platform/x11.h"
#ifdef OG_TEST_SEAM
#include "platform/seam.h"
#endif

void init_platform(void) {
    if (SDL_Init(SDL_INIT_EVERYTHING) == -1)
        fatal_error("Unable to initialize SDL");
    SDL_ShowCursor(0);
    screen = SDL_SetVideoMode(320, 240, 16, 0);
    if (!screen)
        fatal_error("Unable to initialize video");
    plat_watch_display();
    SDL_WM_SetCaption("Olvane Gorvel", "Olvane Gorvel");
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024) != 0)
        fatal_error("Unable to initialize audio");
    set_default_volume();
    srand(plat_ticks() % 32000);
    pad_open_joystick();
}

void shutdown_platform(void) {
    free_assets();
    Mix_CloseAudio();
    SDL_Quit();
    exec_launcher();
}

uint32_t plat_ticks(void) {
#ifdef OG_TEST_SEAM
    if (seam_virtual_clock)
        return seam_now;
#endif
    return SDL_GetTicks();
}

void plat_delay(uint32_t ms) {
#ifdef OG_TEST_SEAM
    if (seam_virtual_clock) {
        seam_now += ms;
        return;
    }
#endif
    SDL_Delay(ms);
}

void plat_wait_until(uint32_t tick) {
    uint32_t now = plat_ticks();
    if (tick_after(tick, now))
        plat_delay(tick - now);
#ifdef __EMSCRIPTEN__
    // The page shows a frame and takes keys only while the game sleeps: an
    // animation whose frames run late would otherwise hold the page frozen
    // to its end.
    else
        emscripten_sleep(0);
#endif
}

void plat_idle(void) {
#ifdef OG_TEST_SEAM
    // On the virtual clock every poll already moves time on.
    plat_idles++;
    if (seam_virtual_clock)
        return;
#endif
    SDL_Delay(1);
}

int plat_flip(void) {
#ifdef OG_TEST_SEAM
    return seam_flip();
#else
    return SDL_Flip(screen);
#endif
}
