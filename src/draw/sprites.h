// Sprites and bitmap text: the primitives every screen draws with.
#pragma once
#include <SDL.h>

// A font is an image of 95 equal cells for the characters 32..126.
struct Font {
    SDL_Surface *image;  // borrowed from the asset record
    int glyph_width;     // image width / 95
    int glyph_height;    // image height
};
extern Font current_font;

// Blits the whole image with its top-left corner at (x, y).
void draw_image(int x, int y, SDL_Surface *image, SDL_Surface *destination);
// Makes the image the current font; the image must not be null.
void set_font(SDL_Surface *image);
// One printable character of the current font with its cell at (x, y).
void draw_glyph(int x, int y, SDL_Surface *destination, unsigned char c);
// The text up to its first byte outside 32..126; x = -1 centres it.
void draw_text(int x, int y, SDL_Surface *destination, const char *text);
// Pixel width draw_text uses for n characters of the current font.
int text_width(int n);
