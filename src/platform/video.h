// The display and the images drawn on it. Images are SDL surfaces, but only
// the platform looks inside them; the drawing code above holds them as
// Image pointers and draws through these calls.
#pragma once
#include <stdint.h>

typedef struct SDL_Surface Image;

// The 320x240, 16-bit display surface, set by init_platform.
extern Image *screen;

// A rectangle of an image, in its pixels.
struct ImageRect {
    int x, y, w, h;
};

// Copies the part of the image (all of it when part is null) onto the
// destination with its top-left corner at (x, y); whatever falls outside is
// clipped, and a failed copy is ignored. Null images draw nothing.
void plat_blit(Image *image, const ImageRect *part, Image *destination, int x, int y);
// Fills a rectangle of the destination with a colour of plat_map_rgb.
void plat_fill(Image *destination, int x, int y, int w, int h, uint32_t colour);
// A colour in the display's pixel format.
uint32_t plat_map_rgb(int r, int g, int b);
int image_width(const Image *image);
int image_height(const Image *image);

// Sheets of equal cells side by side: a font has one for each character 32
// to 126, as wide as its image allows; the card-value strip one of 20 x 20
// pixels for each value 1 to 13, from its left edge.
enum { FONT_CELLS = 95, VALUE_CELLS = 13, VALUE_CELL = 20 };

// A blit of one cell of a wide colour-keyed sheet walks every run of each
// row up to that cell, so a glyph from the end of a font costs as much as
// the whole strip. load_assets therefore cuts the sheets of equal cells
// (fonts, card values) once into surfaces of their own, keyed like the
// sheet; drawing a cell blits it whole, with the same pixels. Returns 0 (and
// draws keep using the sheet) when SDL cannot make the surfaces.
int cut_cell_sheet(Image *sheet, int cell_width, int count);
// The sheet's cells, when it was cut into exactly `count` of them; null
// otherwise. Read by the text and card drawing.
Image *const *sheet_cells(Image *sheet, int count);
// Called by free_assets before the sheets themselves are freed.
void free_cell_sheets(void);
