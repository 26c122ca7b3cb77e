// Sprites and bitmap-font text, blitted straight onto the destination.
#include "draw/sprites.h"

namespace {

// The font that draw_text and draw_glyph use until the next set_font.
struct Font {
    Image *image;         // borrowed from the asset record
    int glyph_width;      // image width / 95
    int glyph_height;     // image height
    Image *const *cells;  // the image cut into glyphs at load, or null
};
Font current_font = {nullptr, 0, 0, nullptr};

enum { FIRST_GLYPH = 32, LAST_GLYPH = FIRST_GLYPH + FONT_CELLS - 1 };

int printable_run(const char *text) {
    int n = 0;
    while ((unsigned char)text[n] >= FIRST_GLYPH && (unsigned char)text[n] <= LAST_GLYPH)
        n++;
    return n;
}

}  // namespace

void draw_image(int x, int y, Image *image, Image *destination) { plat_blit(image, nullptr, destination, x, y); }

bool image_covers(const Image *image, int left, int top, int x, int y) {
    return image && x >= left && y >= top && x < left + image_width(image) && y < top + image_height(image);
}

void set_font(Image *image) {
    current_font.image = image;
    current_font.glyph_width = image_width(image) / FONT_CELLS;
    current_font.glyph_height = image_height(image);
    current_font.cells = sheet_cells(image, FONT_CELLS);
}

void draw_glyph(int x, int y, Image *destination, unsigned char c) {
    if (!destination || !current_font.image)
        return;
    if (current_font.cells && c >= FIRST_GLYPH && c <= LAST_GLYPH) {
        plat_blit(current_font.cells[c - FIRST_GLYPH], nullptr, destination, x, y);
        return;
    }
    ImageRect cell = {current_font.glyph_width * (c - FIRST_GLYPH), 0, current_font.glyph_width,
                      current_font.glyph_height};
    plat_blit(current_font.image, &cell, destination, x, y);
}

int text_width(int n) { return n * (current_font.glyph_width + 1); }

void draw_text(int x, int y, Image *destination, const char *text) {
    int n = printable_run(text);
    if (x == -1)
        x = SCREEN_MIDDLE - text_width(n) / 2;
    int advance = current_font.glyph_width + 1;
    for (int i = 0; i < n; i++)
        draw_glyph(x + i * advance, y, destination, (unsigned char)text[i]);
}
