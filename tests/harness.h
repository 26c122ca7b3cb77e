// Test harness: the real platform brought up headless on SDL's dummy drivers,
// a virtual clock, scripted pad input and reads of the real 16-bit screen.
#pragma once
#include <SDL.h>
#include <string>

// init_platform on the dummy drivers and the virtual clock (starting at
// 1000 ms), in a fresh temporary working directory whose "data" links to the
// repository's, then all assets, font1 current and srand(seed). The
// working directory also receives any "scores" file a test writes.
void harness_start(unsigned seed = 1);
// The temporary working directory made by harness_start.
const std::string &harness_dir(void);

Uint32 now_ms(void);

// Scripted input through SDL's own queue, at absolute virtual times.
// `mod` carries modifier keys held with it (Alt+Enter is KMOD_LALT).
void key_event(Uint32 at, SDLKey key, int down, SDLMod mod = KMOD_NONE);
void button_event(Uint32 at, int button, int down);
// Down at `at`, up `hold` ms later.
void tap_key(Uint32 at, SDLKey key, Uint32 hold = 30);
void tap_button(Uint32 at, int button, Uint32 hold = 30);
// Queues SDL_QUIT (the window closed) at `at`.
void close_window(Uint32 at);

// The screen's pixel at (x, y) as a raw 16-bit value, and a colour in the
// screen's format to compare it with.
Uint32 pixel_at(int x, int y);
Uint32 screen_rgb(int r, int g, int b);
// True when the screen's rectangle holds the image's pixels where the image
// is not transparent (the image drawn there, unclipped).
bool image_drawn_at(SDL_Surface *image, int x, int y);
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
// and later) rather than the classic library. Where the two differ: it
// ignores the RLE flag, and its SDL_Init already fails on an unusable audio
// driver. Any time, also before harness_start.
bool sdl_is_maintained(void);
// The whole file as bytes ("" when missing).
std::string read_file(const std::string &path);
