// Test harness: the game's platform on dummy drivers with a virtual clock, scripted input, reads of the screen.
#include "harness.h"
#include <ctype.h>
#include <string.h>
#include <SDL_mixer.h>
#include "draw/backdrop.h"
#include "draw/sprites.h"
#include "input/input.h"
#include "platform/audio.h"
#include "rules/high_scores.h"
#include "rules/table_state.h"

namespace {

std::string work_dir;
pid_t started_in = 0;

// At exit, not in a forked child: a leak check sees all given back, and no mixing thread runs on into exit to crash.
void close_platform_at_exit(void) {
    if (getpid() != started_in)
        return;
    free_assets();
    Mix_CloseAudio();
    SDL_Quit();
}

uint32_t surface_pixel(SDL_Surface *s, int x, int y) { return ((Uint16 *)((Uint8 *)s->pixels + y * s->pitch))[x]; }

enum { CODE_BASE = 0x1000 };  // raw 16-bit values well away from black and from the colour key

}  // namespace

void harness_start(unsigned seed) {
    if (work_dir.empty()) {
        started_in = getpid();
        atexit(close_platform_at_exit);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        work_dir = scratch_folder();
        if (symlink(OG_SOURCE_DIR "/data", (work_dir + "/data").c_str()) != 0 || chdir(work_dir.c_str()) != 0)
            abort();
        plat_use_virtual_clock(1000);
        init_platform();
        load_assets();
    }
    if (chdir(work_dir.c_str()) != 0)
        abort();
    plat_frame_hook = plat_poll_hook = nullptr;
    plat_sound_hook = nullptr;
    plat_fail_flips = plat_unopenable_joystick = 0;
    plat_show_held_frame();  // now, not as the next screen's first frame
    // Whatever an earlier test held goes up: the keyboard lost, the joystick at rest, the directions' hold-off over.
    static JoystickState at_rest;
    plat_fake_joystick = &at_rest;
    plat_script_clear();
    SDL_Event lost;
    lost.active = {SDL_ACTIVEEVENT, 0, SDL_APPINPUTFOCUS};
    SDL_PushEvent(&lost);
    for (int i = 0; i < 3; i++) {
        plat_advance(1000);
        poll_input();
    }
    plat_fake_joystick = nullptr;
    reset_input();
    set_start_values();
    players[0].score = players[1].score = current_player = 0;
    table_number = NO_GAME;
    table = TableState();
    memset(high_scores, 0, sizeof high_scores);
    new_entry_row[0] = new_entry_row[1] = -1;
    info_panel = panel_slide = 0;
    set_default_volume();
    set_font(assets.font1);
    unlink("scores");
    srand(seed);
}

const std::string &harness_dir(void) { return work_dir; }

void key_event(uint32_t at, SDLKey key, int down, SDLMod mod, int character) {
    character = character >= 0 ? character : key >= 32 && key <= 126 ? key : 0;
    SDL_Event e;
    e.key = {(Uint8)(down ? SDL_KEYDOWN : SDL_KEYUP), 0, (Uint8)(down ? SDL_PRESSED : SDL_RELEASED),
             {0, key, mod, (Uint16)(down ? character : 0)}};
    plat_script_event(at, &e);
}

void type_text(uint32_t at, const char *text) {
    for (; *text; text++, at += 40) {
        SDLMod mod = isupper(*text) ? KMOD_LSHIFT : KMOD_NONE;
        key_event(at, (SDLKey)tolower(*text), 1, mod, *text);
        key_event(at + 20, (SDLKey)tolower(*text), 0, mod);
    }
}

void mouse_button(uint32_t at, int x, int y, int down, Uint8 button) {
    SDL_Event e;
    e.button = {(Uint8)(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP), 0, button,
                (Uint8)(down ? SDL_PRESSED : SDL_RELEASED), (Uint16)x, (Uint16)y};
    plat_script_event(at, &e);
}

void tap_face_button(uint32_t at, uint32_t hold) {
    const Uint8 a = HANDHELD ? 12 : 0;  // the handheld's A, a common gamepad's A
    SDL_Event e;
    e.jbutton = {SDL_JOYBUTTONDOWN, 0, a, SDL_PRESSED};
    plat_script_event(at, &e);
    e.jbutton = {SDL_JOYBUTTONUP, 0, a, SDL_RELEASED};
    plat_script_event(at + hold, &e);
}

void close_window(uint32_t at) {
    SDL_Event e = {SDL_QUIT};
    plat_script_event(at, &e);
}

uint32_t pixel_at(int x, int y) {
    if (x < 0 || y < 0 || x >= screen->w || y >= screen->h)
        return 0;
    SDL_LockSurface(screen);
    uint32_t value = surface_pixel(screen, x, y);
    SDL_UnlockSurface(screen);
    return value;
}

uint32_t screen_rgb(int r, int g, int b) { return SDL_MapRGB(screen->format, (Uint8)r, (Uint8)g, (Uint8)b); }

bool image_drawn_at(SDL_Surface *image, int x, int y, int sx, int sy, int w, int h) {
    w = w < 0 ? image->w - sx : w;
    h = h < 0 ? image->h - sy : h;
    if (sx < 0 || sy < 0 || w < 0 || h < 0 || sx + w > image->w || sy + h > image->h)
        return false;
    // RLE-keyed surfaces can't be read directly; read a plain copy instead.
    SDL_Surface *plain = SDL_ConvertSurface(image, screen->format, SDL_SWSURFACE);
    uint32_t key = SDL_MapRGB(plain->format, 0, 255, 255);
    bool same = true;
    for (int j = 0; j < h && same; j++)
        for (int i = 0; i < w && same; i++) {
            uint32_t v = surface_pixel(plain, sx + i, sy + j);
            int px = x + i, py = y + j;
            same = v == key || px < 0 || py < 0 || px >= screen->w || py >= screen->h || v == pixel_at(px, py);
        }
    SDL_FreeSurface(plain);
    return same;
}

bool centred(SDL_Surface *image) { return image_drawn_at(image, 190 - image->w / 2, 120 - image->h / 2); }

SDL_Surface *code_font(int glyph_width, int height) {
    SDL_PixelFormat *f = screen->format;
    SDL_Surface *font = SDL_CreateRGBSurface(SDL_SWSURFACE, 95 * glyph_width, height, 16, f->Rmask, f->Gmask, f->Bmask, 0);
    for (int c = 32; c <= 126; c++) {
        SDL_Rect cell = {(Sint16)((c - 32) * glyph_width), 0, (Uint16)glyph_width, (Uint16)height};
        SDL_FillRect(font, &cell, CODE_BASE + c);
    }
    return font;
}

std::string code_text_at(int y, int *first_x) {
    std::string text;
    uint32_t previous = 0;
    int first = -1;
    for (int x = 0; x < screen->w; x++) {
        uint32_t v = pixel_at(x, y);
        bool glyph = v > CODE_BASE + 31 && v < CODE_BASE + 127;
        if (glyph && v != previous) {
            first = first < 0 ? x : first;
            text += (char)(v - CODE_BASE);
        }
        previous = glyph ? v : 0;
    }
    if (first_x)
        *first_x = first;
    return text;
}

