// Sprites and bitmap text: the primitives every screen draws with.
#pragma once
#include "platform/video.h"


// Blits the whole image with its top-left corner at (x, y).
void draw_image(int x, int y, Image *image, Image *destination);
// Whether the image, drawn with its top-left corner at (left, top), covers
// the point (x, y); a null image covers nothing. How the screens find what a
// click lies on, from the positions they draw at.
bool image_covers(const Image *image, int left, int top, int x, int y);
// Makes the image the current font, an image of 95 equal cells for the
// characters 32..126; the image must not be null.
void set_font(Image *image);
// One printable character of the current font with its cell at (x, y).
void draw_glyph(int x, int y, Image *destination, unsigned char c);
// The text up to its first byte outside 32..126; x = -1 centres it.
void draw_text(int x, int y, Image *destination, const char *text);
// Pixel width draw_text uses for n characters of the current font.
int text_width(int n);

enum { SCREEN_MIDDLE = 160 };
