// Test harness: the real platform brought up headless on SDL's dummy drivers,
// a virtual clock, scripted pad input and reads of the real 16-bit screen.
#pragma once
#include <SDL.h>
#include <string>
#include "platform/assets.h"
#include "platform/platform.h"
#include "platform/seam.h"
#include "rules/game_state.h"
#include "scratch.h"

// The first call brings up the platform on the dummy drivers and the
// virtual clock in a scratch folder whose "data" links to the repository's
// (the folder goes when the process ends), and loads every asset. Every call
// then gives the test a fresh start: no scripted input, hooks or failing
// flips, no key held, every latch clear, the start values of a run, an
// empty table and top ten, the default volume, font1 current, no "scores"
// file, and srand(seed).
void harness_start(unsigned seed = 1);
// The scratch folder (see scratch.h).
const std::string &harness_dir(void);

inline uint32_t now_ms(void) { return plat_ticks(); }

// Scripted input through SDL's own queue, at absolute virtual times.
// `mod` carries modifier keys held with it (Alt+Enter is KMOD_LALT).
void key_event(uint32_t at, SDLKey key, int down, SDLMod mod = KMOD_NONE);
void button_event(uint32_t at, int button, int down);
// Down at `at`, up `hold` ms later.
void tap_key(uint32_t at, SDLKey key, uint32_t hold = 30);
void tap_button(uint32_t at, int button, uint32_t hold = 30);
// Queues SDL_QUIT (the window closed) at `at`.
void close_window(uint32_t at);

// The screen's pixel at (x, y) as a raw 16-bit value; 0 outside the screen.
uint32_t pixel_at(int x, int y);
uint32_t screen_rgb(int r, int g, int b);
// True when the part (sx, sy, w, h) of the image (all of it by default) shows
// on the screen with its top-left corner at (x, y), wherever the image is
// not transparent; parts beyond the screen are not compared. False when the
// part does not lie inside the image.
bool image_drawn_at(SDL_Surface *image, int x, int y, int sx = 0, int sy = 0, int w = -1, int h = -1);
// An image centred on the table area, where the banners go.
bool centred(SDL_Surface *image);
// A font for reading text back off the screen: 95 cells of the given size,
// each one solid colour that names its character. Freed with SDL_FreeSurface.
SDL_Surface *code_font(int glyph_width, int height);
// The characters drawn with a code font on screen row y, left to right, and
// the x of the first one (-1 when the row holds none).
std::string code_text_at(int y, int *first_x = nullptr);
// Writes the screen as PNG (via BMP and ImageMagick's convert when present,
// else BMP next to it); returns the path written.
std::string save_screen(const std::string &path);
// True on the maintained SDL 1.2 (the SDL2-based one, which reports 1.2.50
// and later) rather than the classic library. Any time.
bool sdl_is_maintained(void);
// The whole file as bytes ("" when missing).
std::string read_file(const std::string &path);
