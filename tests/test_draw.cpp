// The images as loaded and drawn: in the display's format keyed on exact cyan, cells drawn as on their sheets, and
// text placed and stopped at the first byte outside 32 to 126.
#include <string>
#include <gtest/gtest.h>
#include "draw/sprites.h"
#include "harness.h"

// Colours a 16-bit display cannot tell from cyan stay visible, from a true colour BMP and from a palette one.
TEST(Assets, OnlyExactCyanIsTransparentEvenCloseToItOnA16BitDisplay) {
    harness_start();
    SDL_Color colours[] = {{0, 255, 255, 0}, {1, 255, 255, 0}, {0, 254, 255, 0}, {0, 255, 254, 0}, {7, 252, 248, 0},
                           {8, 255, 255, 0}, {0, 251, 255, 0}, {0, 255, 247, 0}, {0, 0, 0, 0}, {0, 255, 255, 0}};
    const int n = sizeof colours / sizeof colours[0];
    for (int depth : {32, 8}) {
        SDL_Surface *strip = SDL_CreateRGBSurface(SDL_SWSURFACE, n, 1, depth, 0, 0, 0, 0);
        SDL_SetColors(strip, colours, 0, n);  // no palette at 32 bits: does nothing
        for (SDL_Rect pixel = {0, 0, 1, 1}; pixel.x < n; pixel.x++)
            SDL_FillRect(strip, &pixel, SDL_MapRGB(strip->format, colours[pixel.x].r, colours[pixel.x].g, colours[pixel.x].b));
        std::string path = harness_dir() + "/strip.bmp";
        SDL_SaveBMP(strip, path.c_str());
        SDL_FreeSurface(strip);
        SDL_Surface *image = load_image(path.c_str());
        SDL_FillRect(screen, nullptr, screen_rgb(255, 0, 255));
        draw_image(3, 4, image, screen);
        for (int i = 0; i < n; i++)
            EXPECT_EQ(pixel_at(3 + i, 4) == screen_rgb(255, 0, 255), colours[i].r == 0 && colours[i].g == 255 &&
                      colours[i].b == 255) << depth << " bits, colour " << i;
        SDL_FreeSurface(image);
    }
}

TEST(Text, IsCentredOrPlacedAndStopsAtTheFirstByteOutside32To126) {
    harness_start();
    // The font is 95 cells plus `spare` pixels wide; x -1 centres the text.
    struct { int glyph_width, spare; const char *text; int x, first_x; const char *drawn; } cases[] = {
        {7, 0, "VOLUME  70%", -1, 116, "VOLUME  70%"},  // a repeated cell shows the 1-pixel gap
        {8, 0, "abc", -1, 147, "abc"}, {10, 0, "AB\nCD", -1, 149, "AB"}, {7, 0, "xy\x7fz", -1, 152, "xy"},
        {7, 0, "Q\xffR", 5, 5, "Q"}, {6, 0, "~ !", 0, 0, "~ !"}, {7, 0, "", -1, -1, ""},
        {10, 4, "~}", -1, 149, "~}"},  // 954 pixels wide: cells of 10, not 11
    };
    for (auto &c : cases) {
        SDL_Surface *cells = code_font(c.glyph_width, 9), *font = SDL_CreateRGBSurface(
            SDL_SWSURFACE, cells->w + c.spare, 9, 16, cells->format->Rmask, cells->format->Gmask, cells->format->Bmask, 0);
        SDL_BlitSurface(cells, nullptr, font, nullptr);
        set_font(font);
        SDL_FillRect(screen, nullptr, 0);
        draw_text(c.x, 100, screen, c.text);
        int first_x;
        EXPECT_EQ(code_text_at(100, &first_x), c.drawn) << c.text;
        EXPECT_EQ(first_x, c.first_x) << c.text;
        SDL_FreeSurface(font);
        SDL_FreeSurface(cells);
    }
}

// Every image is in the display's format keyed on cyan (with RLE, a flag the maintained library drops). Fonts and
// card values are drawn from cells cut out at load time, each exactly the pixels of its place on the sheet.
TEST(Assets, InTheDisplayFormatKeyedOnCyanAndCellsDrawnAsOnTheSheet) {
    harness_start();
    for (SDL_Surface *sheet : {assets.font1, assets.font1_hilite, assets.font2, assets.font2_hilite, assets.font3,
                               assets.numbers}) {
        int count = sheet == assets.numbers ? 13 : 95, w = sheet->w / count;
        ASSERT_NE(sheet_cells(sheet, count), nullptr);
        for (int i = 0; i < count; i++) {
            SDL_FillRect(screen, nullptr, screen_rgb(40, 80, 120));
            SDL_Rect from = {(Sint16)(i * w), 0, (Uint16)w, (Uint16)sheet->h}, at = {10, 10, 0, 0};
            SDL_UpperBlit(sheet, &from, screen, &at);
            set_font(sheet);  // a font draws its cells through draw_glyph
            count == 95 ? draw_glyph(10, 40, screen, (unsigned char)(32 + i))
                        : draw_image(10, 40, sheet_cells(sheet, count)[i], screen);
            for (int p = 0; p < w * sheet->h; p++)
                ASSERT_EQ(pixel_at(10 + p % w, 10 + p / w), pixel_at(10 + p % w, 40 + p / w)) << "cell " << i;
        }
    }
    EXPECT_EQ(sheet_cells(assets.numbers, 14), nullptr);
    for (const Asset &a : asset_catalogue)
        if (SDL_Surface *held = a.image ? *a.image : nullptr) {
            EXPECT_EQ(held->format->BitsPerPixel, screen->format->BitsPerPixel) << a.path;
            EXPECT_TRUE((held->flags & SDL_SRCCOLORKEY) && held->format->colorkey == screen_rgb(0, 255, 255)) << a.path;
            EXPECT_TRUE(sdl_is_maintained() || (held->flags & (SDL_RLEACCELOK | SDL_RLEACCEL))) << a.path;
            // A strip with spare columns keeps its 20-pixel cells; a font shares its width out.
            EXPECT_TRUE(!a.cells || asset_cell_width(&a, 954) == (a.image == &assets.numbers ? 20 : 10)) << a.path;
        }
}
