// Test harness: the game's platform on dummy drivers with a virtual clock.
#include "harness.h"
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>
#include <fstream>
#include <sstream>
#include <SDL_mixer.h>
#include "draw/sprites.h"
#include "platform/pad.h"
#include "platform/assets.h"
#include "platform/platform.h"
#include "platform/seam.h"
#include "rules/game_state.h"

static std::string work_dir;

const std::string &harness_dir(void) { return work_dir; }

static pid_t started_in = 0;

// A test that ends with the audio device open leaves its mixing thread
// running into libraries that exit is already tearing down; with the
// SDL2-based SDL 1.2 that crashes now and then. A forked child (a death
// test) has no such thread and leaves the parent's device alone.
static void close_platform_at_exit(void) {
    if (getpid() != started_in)
        return;
    Mix_CloseAudio();
    SDL_Quit();
}

void harness_start(unsigned seed) {
    if (!started_in)
        atexit(close_platform_at_exit);
    started_in = getpid();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    char dir[] = "/tmp/og-test-XXXXXX";
    if (!mkdtemp(dir))
        abort();
    work_dir = dir;
    std::string data = std::string(OG_SOURCE_DIR) + "/data";
    if (symlink(data.c_str(), (work_dir + "/data").c_str()) != 0 || chdir(dir) != 0)
        abort();
    plat_use_virtual_clock(1000);
    init_platform();
    set_start_values();
    load_assets();
    set_font(assets.font1);
    srand(seed);
}

Uint32 now_ms(void) { return plat_ticks(); }

void key_event(Uint32 at, SDLKey key, int down, SDLMod mod) {
    SDL_Event e = {};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.type = e.type;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    plat_script_event(at, &e);
}

void button_event(Uint32 at, int button, int down) {
    SDL_Event e = {};
    e.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    e.jbutton.type = e.type;
    e.jbutton.which = 0;
    e.jbutton.button = (Uint8)button;
    e.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    plat_script_event(at, &e);
}

void tap_key(Uint32 at, SDLKey key, Uint32 hold) {
    key_event(at, key, 1);
    key_event(at + hold, key, 0);
}

void tap_button(Uint32 at, int button, Uint32 hold) {
    button_event(at, button, 1);
    button_event(at + hold, button, 0);
}

void close_window(Uint32 at) {
    SDL_Event e = {};
    e.type = SDL_QUIT;
    plat_script_event(at, &e);
}

Uint32 pixel_at(int x, int y) {
    SDL_LockSurface(screen);
    Uint16 *row = (Uint16 *)((Uint8 *)screen->pixels + y * screen->pitch);
    Uint32 value = row[x];
    SDL_UnlockSurface(screen);
    return value;
}

Uint32 screen_rgb(int r, int g, int b) { return SDL_MapRGB(screen->format, (Uint8)r, (Uint8)g, (Uint8)b); }

static Uint32 surface_pixel(SDL_Surface *s, int x, int y) {
    Uint8 *p = (Uint8 *)s->pixels + y * s->pitch + x * s->format->BytesPerPixel;
    switch (s->format->BytesPerPixel) {
    case 2: return *(Uint16 *)p;
    case 4: return *(Uint32 *)p;
    default: return p[0];
    }
}

bool image_drawn_at(SDL_Surface *image, int x, int y) {
    // RLE-keyed surfaces can't be read directly; read a plain copy instead.
    SDL_Surface *plain = SDL_ConvertSurface(image, screen->format, SDL_SWSURFACE);
    if (!plain)
        return false;
    Uint32 key = SDL_MapRGB(plain->format, 0, 255, 255);
    bool same = true;
    SDL_LockSurface(plain);
    for (int j = 0; j < plain->h && same; j++)
        for (int i = 0; i < plain->w && same; i++) {
            int sx = x + i, sy = y + j;
            if (sx < 0 || sy < 0 || sx >= screen->w || sy >= screen->h)
                continue;
            Uint32 v = surface_pixel(plain, i, j);
            if (v != key && v != pixel_at(sx, sy))
                same = false;
        }
    SDL_UnlockSurface(plain);
    SDL_FreeSurface(plain);
    return same;
}

// Raw 16-bit values well away from black and from the colour key.
enum { CODE_BASE = 0x1000 };

SDL_Surface *code_font(int glyph_width, int height) {
    SDL_Surface *font = SDL_CreateRGBSurface(SDL_SWSURFACE, 95 * glyph_width, height, 16,
                                             screen->format->Rmask, screen->format->Gmask,
                                             screen->format->Bmask, 0);
    for (int c = 32; c <= 126; c++) {
        SDL_Rect cell = {(Sint16)((c - 32) * glyph_width), 0, (Uint16)glyph_width, (Uint16)height};
        SDL_FillRect(font, &cell, CODE_BASE + c);
    }
    return font;
}

std::string code_text_at(int y, int *first_x) {
    std::string text;
    Uint32 previous = 0;
    if (first_x)
        *first_x = -1;
    for (int x = 0; x < screen->w; x++) {
        Uint32 v = pixel_at(x, y);
        bool glyph = v > CODE_BASE + 31 && v < CODE_BASE + 127;
        if (glyph && v != previous) {
            if (first_x && *first_x < 0)
                *first_x = x;
            text += (char)(v - CODE_BASE);
        }
        previous = glyph ? v : 0;
    }
    return text;
}

std::string save_screen(const std::string &path) {
    std::string bmp = path + ".bmp";
    SDL_SaveBMP(screen, bmp.c_str());
    std::string command = "convert '" + bmp + "' '" + path + "' 2>/dev/null && rm -f '" + bmp + "'";
    if (system(command.c_str()) == 0)
        return path;
    return bmp;
}

bool sdl_is_maintained(void) { return SDL_Linked_Version()->patch >= 50; }

std::string read_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}
