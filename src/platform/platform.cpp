// Start-up and shutdown of SDL, and the clock.
#include "platform/platform.h"
#include <stdlib.h>
#include <SDL.h>
#include <SDL_mixer.h>
#include "platform/assets.h"
#include "platform/audio.h"
#include "platform/device.h"
#include "platform/launcher.h"
#include "platform/pad.h"
#include "platform/ticks.h"
#include "platform/video.h"
#include "platform/x11.h"

void init_platform(void) {
    if (SDL_Init(SDL_INIT_EVERYTHING) == -1)
        fatal_error("Unable to initialize SDL");
#if !defined(OG_CONSOLE) && !defined(__EMSCRIPTEN__)
    // The game never sets an SDL timer, yet the classic SDL 1.2 keeps a thread
    // waking every millisecond to serve them: on a desktop that thread cost
    // more than the whole game. The clock and SDL_Delay do without it.
    SDL_QuitSubSystem(SDL_INIT_TIMER);
#endif
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

uint32_t plat_ticks(void) { return device_ticks(); }

uint32_t plat_earliest(uint32_t a, uint32_t b) { return tick_after(a, b) ? b : a; }
