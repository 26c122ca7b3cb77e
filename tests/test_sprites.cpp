// Bitmap text and cut cell sheets: where draw_text puts each character, where
// its printable run ends, the glyph size a font image gives, and cells that
// draw what their sheet draws.
#include <gtest/gtest.h>
#include "draw/sprites.h"
#include "harness.h"
#include "platform/assets.h"
#include "platform/platform.h"
#include "platform/seam.h"

TEST(Text, IsCentredOrPlacedAndStopsAtTheFirstByteOutside32To126) {
    harness_start();
    struct {
        int glyph_width, spare;  // the font image is 95 cells plus `spare` pixels wide
        const char *text;
        int x, first_x;  // where it is drawn; where its first character lands
        const char *drawn;
    } cases[] = {
        {7, 0, "VOLUME  70%", -1, 116, "VOLUME  70%"},  // a repeated cell shows the 1-pixel gap
        {8, 0, "abc", -1, 147, "abc"},                  // 160 - 27 / 2, truncated
        {10, 0, "AB\nCD", -1, 149, "AB"},               // centring counts the run only
        {7, 0, "xy\x7fz", -1, 152, "xy"},
        {7, 0, "Q\xffR", 5, 5, "Q"},
        {6, 0, "~ !", 0, 0, "~ !"},
        {7, 0, "", -1, -1, ""},
        {10, 4, "~}", -1, 149, "~}"},  // 954 pixels wide: cells of 10, not 11
    };
    for (auto &c : cases) {
        SDL_Surface *cells = code_font(c.glyph_width, 9);
        SDL_PixelFormat *f = cells->format;
        SDL_Surface *font =
            SDL_CreateRGBSurface(SDL_SWSURFACE, cells->w + c.spare, 9, 16, f->Rmask, f->Gmask, f->Bmask, 0);
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

// Fonts and card values are drawn from cells cut out at load time; each must
// put down exactly the pixels of its place on the sheet.
TEST(CellSheets, DrawTheSamePixelsAsTheSheet) {
    harness_start();
    SDL_Surface *sheets[] = {assets.font1, assets.font1_hilite, assets.font2,
                             assets.font2_hilite, assets.font3, assets.numbers};
    for (SDL_Surface *sheet : sheets) {
        int count = sheet == assets.numbers ? 13 : 95, w = sheet->w / count;
        for (int i = 0; i < count; i++) {
            ASSERT_NE(sheet_cells(sheet, count), nullptr);
            SDL_FillRect(screen, nullptr, screen_rgb(40, 80, 120));
            SDL_Rect from = {(Sint16)(i * w), 0, (Uint16)w, (Uint16)sheet->h}, at = {10, 10, 0, 0};
            SDL_UpperBlit(sheet, &from, screen, &at);
            // A font draws its cells through draw_glyph.
            if (count == 95) {
                set_font(sheet);
                draw_glyph(10, 40, screen, (unsigned char)(32 + i));
            } else {
                draw_image(10, 40, sheet_cells(sheet, count)[i], screen);
            }
            int differ = 0;
            for (int y = 0; y < sheet->h; y++)
                for (int x = 0; x < w; x++)
                    differ += pixel_at(10 + x, 10 + y) != pixel_at(10 + x, 40 + y);
            ASSERT_EQ(differ, 0) << "cell " << i;
        }
    }
    EXPECT_EQ(sheet_cells(assets.numbers, 14), nullptr);
}
