// The committed fonts as the game loads and draws them: the name grid's letters stand alone, with no word around
// them to tell a W from an N, so in every font any two differ in three pixels or more (the bold M, N and W once
// differed in one or two, and "name" read as "nawe").
#include <gtest/gtest.h>
#include "draw/sprites.h"
#include "harness.h"
#include "rules/name_grid.h"

TEST(Fonts, NameGridGlyphsAreDistinct) {
    harness_start();
    for (SDL_Surface *font : {assets.font1, assets.font1_hilite, assets.font2, assets.font2_hilite, assets.font3}) {
        set_font(font);
        const int w = font->w / 95;
        for (const char *a = name_grid; *a; ++a)
            for (const char *b = a + 1; *b && *a != ' '; ++b) {
                SDL_FillRect(screen, nullptr, 0);
                draw_glyph(0, 0, screen, (unsigned char)*a);
                draw_glyph(w, 0, screen, (unsigned char)*b);
                int differ = 0;
                for (int i = 0; i < w * font->h; i++)
                    differ += pixel_at(i % w, i / w) != pixel_at(w + i % w, i / w);
                EXPECT_TRUE(*b == ' ' || differ >= 3) << font->w << ": " << *a << " and " << *b;
            }
    }
}
