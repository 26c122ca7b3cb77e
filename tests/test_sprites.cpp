// Sprites and bitmap text: where draw_text puts each character, where its
// printable run ends, the glyph size a font image gives, image placement.
#include <gtest/gtest.h>
#include "draw/sprites.h"
#include "harness.h"
#include "shell/assets.h"
#include "shell/platform.h"

static void clear_screen(void) { SDL_FillRect(screen, nullptr, 0); }

TEST(Text, IsCentredOrPlacedAndStopsAtTheFirstUnprintableByte) {
    harness_start();
    struct {
        int glyph_width;
        const char *text;
        int x;
        int first_x;  // where the first character lands
        const char *drawn;
    } cases[] = {
        {7, "MUTE", -1, 144, "MUTE"},
        {7, "VOLUME  70%", -1, 116, "VOLUME  70%"},
        {8, "abc", -1, 147, "abc"},         // 160 - 27 / 2, truncated
        {10, "AB\nCD", -1, 149, "AB"},      // centring counts the run only
        {7, "xy\x7fz", -1, 152, "xy"},
        {7, "Q\xffR", 5, 5, "Q"},
        {6, "~ !", 0, 0, "~ !"},            // the space is a cell like any other
        {5, " leading", 40, 40, " leading"},
        {7, "", -1, -1, ""},
        {7, "\n", 30, -1, ""},
    };
    for (auto &c : cases) {
        SDL_Surface *font = code_font(c.glyph_width, 9);
        set_font(font);
        clear_screen();
        draw_text(c.x, 100, screen, c.text);
        int first_x;
        EXPECT_EQ(code_text_at(100, &first_x), c.drawn) << c.text;
        EXPECT_EQ(first_x, c.first_x) << c.text;
        EXPECT_EQ(code_text_at(99), "") << c.text;
        EXPECT_EQ(code_text_at(109), "") << c.text;  // the cell is 9 high
        SDL_FreeSurface(font);
    }
}

TEST(Text, AdvancesByTheCellWidthPlusOnePixel) {
    harness_start();
    SDL_Surface *font = code_font(6, 8);
    set_font(font);
    clear_screen();
    draw_text(10, 20, screen, "AAB");
    const struct {
        int x;
        char c;  // 0: background
    } row[] = {{9, 0}, {10, 'A'}, {15, 'A'}, {16, 0}, {17, 'A'}, {22, 'A'}, {23, 0}, {24, 'B'}, {29, 'B'}, {30, 0}};
    for (auto &r : row)
        EXPECT_EQ(pixel_at(r.x, 20), r.c ? 0x1000u + r.c : 0u) << r.x;
    SDL_FreeSurface(font);
}

TEST(Text, GlyphCellsComeFromTheImageWidthDividedBy95) {
    harness_start();
    struct {
        int image_width, glyph_width;
    } cases[] = {{950, 10}, {954, 10}, {95, 1}, {664, 6}, {665, 7}};
    for (auto &c : cases) {
        SDL_Surface *image = SDL_CreateRGBSurface(SDL_SWSURFACE, c.image_width, 13, 16, 0, 0, 0, 0);
        set_font(image);
        EXPECT_EQ(current_font.image, image);
        EXPECT_EQ(current_font.glyph_width, c.glyph_width) << c.image_width;
        EXPECT_EQ(current_font.glyph_height, 13);
        SDL_FreeSurface(image);
    }
    // In a 954-pixel image the last character still comes from its own cell.
    SDL_Surface *wide = code_font(10, 8);
    SDL_Surface *image = SDL_CreateRGBSurface(SDL_SWSURFACE, 954, 8, 16, 0, 0, 0, 0);
    SDL_BlitSurface(wide, nullptr, image, nullptr);
    set_font(image);
    clear_screen();
    draw_text(0, 0, screen, "~}");
    EXPECT_EQ(code_text_at(0), "~}");
    SDL_FreeSurface(image);
    SDL_FreeSurface(wide);
}

TEST(Text, IsClippedAtTheScreenEdgeAndSkipsMissingTargets) {
    harness_start();
    SDL_Surface *font = code_font(7, 9);
    set_font(font);
    clear_screen();
    draw_text(310, 235, screen, "ABCDEF");
    EXPECT_EQ(pixel_at(319, 235), 0x1000u + 'B');
    EXPECT_EQ(pixel_at(319, 239), 0x1000u + 'B');
    draw_text(-4, 0, screen, "AB");
    EXPECT_EQ(code_text_at(0), "AB");
    draw_text(0, 0, nullptr, "AB");
    draw_glyph(0, 0, nullptr, 'A');
    current_font.image = nullptr;
    clear_screen();
    draw_text(0, 50, screen, "AB");
    draw_glyph(0, 60, screen, 'A');
    EXPECT_EQ(code_text_at(50), "");
    EXPECT_EQ(code_text_at(60), "");
    SDL_FreeSurface(font);
}

TEST(Images, AreDrawnWholeWithTheirTopLeftCornerAtThePosition) {
    harness_start();
    struct {
        SDL_Surface *image;
        int x, y;
    } cases[] = {
        {assets.selector, 37, 51},
        {assets.tile_normal, 0, 0},
        {assets.button_quit, 300, 220},  // clipped at the right and bottom
        {assets.gorvel[2], -10, -7},     // clipped at the left and top
        {assets.background, 0, 0},
    };
    for (auto &c : cases) {
        SDL_FillRect(screen, nullptr, screen_rgb(255, 0, 255));
        draw_image(c.x, c.y, c.image, screen);
        EXPECT_TRUE(image_drawn_at(c.image, c.x, c.y)) << c.x << "," << c.y;
        if (c.x > 0) {
            EXPECT_EQ(pixel_at(c.x - 1, c.y > 0 ? c.y : 0), screen_rgb(255, 0, 255));
        }
    }
    draw_image(0, 0, nullptr, screen);
    draw_image(0, 0, assets.title, nullptr);
}

// Fonts and card values are drawn from cells cut out at load time; every cell
// must put down exactly the pixels of its place on the sheet.
TEST(CellSheets, DrawTheSamePixelsAsTheSheet) {
    harness_start();
    struct {
        SDL_Surface *sheet;
        int cell_width, count;
    } sheets[] = {
        {assets.font1, assets.font1->w / 95, 95}, {assets.font2, assets.font2->w / 95, 95},
        {assets.font2_hilite, assets.font2_hilite->w / 95, 95},
        {assets.font3, assets.font3->w / 95, 95}, {assets.numbers, 20, 13},
    };
    for (auto &s : sheets) {
        for (int i = 0; i < s.count; i++) {
            SDL_Surface *cell = sheet_cell(s.sheet, i);
            ASSERT_NE(cell, nullptr);
            ASSERT_EQ(cell->w, s.cell_width);
            SDL_FillRect(screen, nullptr, screen_rgb(40, 80, 120));
            SDL_Rect from = {(Sint16)(i * s.cell_width), 0, (Uint16)s.cell_width, (Uint16)s.sheet->h};
            SDL_Rect at = {10, 10, 0, 0};
            SDL_UpperBlit(s.sheet, &from, screen, &at);
            ASSERT_TRUE(image_drawn_at(cell, 10, 10)) << "cell " << i;
        }
    }
    EXPECT_EQ(sheet_cell(assets.background, 0), nullptr);
    EXPECT_EQ(sheet_cell(assets.numbers, 13), nullptr);
}
