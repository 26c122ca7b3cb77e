// Sprites and bitmap text: the primitives every screen draws with.
#pragma once
#include <SDL.h>

// A font is an image of 95 equal cells for the characters 32..126.
struct Font {
    SDL_Surface *image;  // borrowed from the asset record
    int glyph_width;     // image width / 95
    int glyph_height;    // image height
    SDL_Surface *const *cells;  // the image cut into glyphs, or null
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

// SDL's RLE blit of one cell of a wide sheet walks every run of each row up
// to that cell, so a glyph from the end of a font costs as much as the whole
// strip. Sheets of equal cells (fonts, card values) are therefore cut once,
// at load time, into surfaces of their own, keyed like the sheet; drawing a
// cell blits it whole, with the same pixels as the cell of the sheet.
// Called by load_assets; returns 0 (and draws keep using the sheet) when SDL
// cannot make the surfaces.
int cut_cell_sheet(SDL_Surface *sheet, int cell_width, int count);
// The cut surface of a cell, or null when the sheet was not cut.
SDL_Surface *sheet_cell(SDL_Surface *sheet, int index);
// Called by free_assets before the sheets themselves are freed.
void free_cell_sheets(void);
