// Test harness: the real platform on SDL's dummy drivers, a virtual clock, input through SDL's queue, screen reads.
#pragma once
#include <SDL.h>
#include <string>
#include "platform/assets.h"
#include "platform/platform.h"
#include "platform/seam.h"
#include "rules/game_state.h"
#include "scratch.h"

// The first call brings up the platform in a scratch folder whose "data" links to the repository's. Every call
// then starts afresh: no script, hook or failing flip, nothing held or latched, a run's start values, an empty table
// and top ten, the default volume, font1, no "scores" file, and srand(seed).
void harness_start(unsigned seed = 1);
const std::string &harness_dir(void);
inline uint32_t now_ms(void) { return plat_ticks(); }

// Input at absolute virtual times: a key down or up, a down carrying its character (by default the key's own) as SDL
// translates keys; text typed; a mouse button at game pixel (x, y); joystick 0's face button; the window closed.
// A tap or a click is let go `hold` ms after it is pressed.
void key_event(uint32_t at, SDLKey key, int down, SDLMod mod = KMOD_NONE, int character = -1);
void type_text(uint32_t at, const char *text);
void mouse_button(uint32_t at, int x, int y, int down, Uint8 button = SDL_BUTTON_LEFT);
void tap_face_button(uint32_t at, uint32_t hold = 30);
void close_window(uint32_t at);
inline void tap_key(uint32_t at, SDLKey key, uint32_t hold = 30) {
    key_event(at, key, 1);
    key_event(at + hold, key, 0);
}
inline void click_at(uint32_t at, int x, int y, uint32_t hold = 30) {
    mouse_button(at, x, y, 1);
    mouse_button(at + hold, x, y, 0);
}

// The screen's raw 16-bit pixel; 0 outside the screen.
uint32_t pixel_at(int x, int y);
uint32_t screen_rgb(int r, int g, int b);
// True when the part (sx, sy, w, h) of the image (all of it by default) shows at (x, y) wherever it is not
// transparent; the screen's edges clip it. False when the part does not lie inside the image.
bool image_drawn_at(SDL_Surface *image, int x, int y, int sx = 0, int sy = 0, int w = -1, int h = -1);
bool centred(SDL_Surface *image);  // on the table area, where the banners go
// A font whose 95 cells are each one colour naming its character, and the text it drew on row y (and first x).
SDL_Surface *code_font(int glyph_width, int height);
std::string code_text_at(int y, int *first_x = nullptr);
inline bool sdl_is_maintained(void) { return SDL_Linked_Version()->patch >= 50; }  // 1.2.50 on, not the classic
#ifdef OG_CONSOLE
const bool HANDHELD = true;  // the handheld's build: no keyboard, its own buttons
#else
const bool HANDHELD = false;
#endif
