// Sprites and bitmap-font text, blitted straight onto the destination.
#include "draw/sprites.h"

Font current_font = {nullptr, 0, 0};

enum { FIRST_GLYPH = 32, LAST_GLYPH = 126, GLYPH_COUNT = 95, SCREEN_MIDDLE = 160 };

void draw_image(int x, int y, SDL_Surface *image, SDL_Surface *destination) {
    if (!image || !destination)
        return;
    SDL_Rect at = {(Sint16)x, (Sint16)y, 0, 0};
    SDL_UpperBlit(image, nullptr, destination, &at);
}

void set_font(SDL_Surface *image) {
    current_font.image = image;
    current_font.glyph_width = image->w / GLYPH_COUNT;
    current_font.glyph_height = image->h;
}

void draw_glyph(int x, int y, SDL_Surface *destination, unsigned char c) {
    if (!destination || !current_font.image)
        return;
    SDL_Rect source = {(Sint16)(current_font.glyph_width * (c - FIRST_GLYPH)), 0,
                       (Uint16)current_font.glyph_width, (Uint16)current_font.glyph_height};
    SDL_Rect at = {(Sint16)x, (Sint16)y, 0, 0};
    SDL_UpperBlit(current_font.image, &source, destination, &at);
}

int text_width(int n) { return n * (current_font.glyph_width + 1); }

static int printable_run(const char *text) {
    int n = 0;
    while ((unsigned char)text[n] >= FIRST_GLYPH && (unsigned char)text[n] <= LAST_GLYPH)
        n++;
    return n;
}

void draw_text(int x, int y, SDL_Surface *destination, const char *text) {
    int n = printable_run(text);
    if (x == -1)
        x = SCREEN_MIDDLE - text_width(n) / 2;
    int advance = current_font.glyph_width + 1;
    for (int i = 0; i < n; i++)
        draw_glyph(x + i * advance, y, destination, (unsigned char)text[i]);
}
