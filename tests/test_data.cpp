// The committed images of data/ against the places the screens give them, the name grid's glyphs and the colour
// key: a regenerated or hand-edited image that would be cut off, overlap its neighbours or lack its key fails.
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include "harness.h"
#include "rules/name_grid.h"

namespace {

const std::string kData = OG_SOURCE_DIR "/data/";
const Uint32 kKey = 0x00FFFF;

using Surface = std::unique_ptr<SDL_Surface, void (*)(SDL_Surface *)>;

// The image as 0xRRGGBB words, so every file reads alike whatever its depth.
Surface load(const std::string &file) {
    Surface raw(IMG_Load((kData + file).c_str()), SDL_FreeSurface);
    Surface rgb(SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0xFF0000, 0xFF00, 0xFF, 0), SDL_FreeSurface);
    return Surface(raw ? SDL_ConvertSurface(raw.get(), rgb->format, SDL_SWSURFACE) : nullptr, SDL_FreeSurface);
}

// Where each image goes decides its size: the bounds keep every image on the screen and off its neighbours (cards on
// a 40-pixel pitch, the waste ending by y 240, banners centred on x 190 right of the score panel, the stock clear of
// the waste and above its count, menu buttons on a 25-pixel pitch left of the selector at x 280, panels left of
// x 200). Files of a row marked `same` are drawn in each other's place and must cover each other exactly.
enum Keying { KEYED, OPAQUE, ANY };
const struct { const char *files; int min_w, max_w, min_h, max_h; Keying keying; bool same; } kImages[] = {
    {"tile_normal tile_highlighted", 30, 38, 40, 50, KEYED, true}, {"numbers", 260, 260, 20, 20, KEYED, false},
    {"tablecleared timesup gameover", 40, 248, 10, 100, KEYED, false}, {"selector", 6, 20, 6, 15, KEYED, false},
    {"ready winner player1 player2", 40, 248, 10, 60, KEYED, false}, {"font3", 95 * 3, 95 * 9, 5, 12, KEYED, false},
    {"gorvel1 gorvel2 gorvel3 gorvel4", 20, 125, 20, 49, KEYED, false},
    {"gorvel_popup", 20, 90, 20, 80, KEYED, false}, {"button_menu button_ok", 20, 78, 12, 24, ANY, false},
    {"background", 320, 320, 240, 240, OPAQUE, false}, {"background_tile", 64, 64, 64, 64, OPAQUE, false},
    {"congrats", 40, 320, 8, 24, KEYED, false}, {"topgorvels", 40, 170, 8, 40, KEYED, false},
    {"oneplayerscore_header", 10, 61, 5, 11, KEYED, false}, {"twoplayerscore_header", 10, 61, 5, 37, KEYED, false},
    {"button_newgame button_resume button_quit button_highscores button_instructions", 40, 78, 12, 24, ANY, false},
    {"button_takescore button_takescore_sure", 30, 70, 16, 40, ANY, true},
    {"button_player1 button_player2", 12, 28, 12, 40, ANY, false}, {"timer_image", 125, 320, 9, 9, ANY, false},
    {"title", 60, 180, 30, 175, KEYED, false}, {"instructions", 100, 195, 100, 235, ANY, false},
    {"font1 font1_hilite", 95 * 4, 95 * 9, 6, 10, KEYED, true},
    {"font2 font2_hilite", 95 * 3, 95 * 5, 5, 12, KEYED, true},
};

// An image drawn over others is keyed (some pixels exactly cyan); one that fills its place is opaque. (The loader
// keeps near-cyan visible, so a colour close to the key needs no check here.)
TEST(Data, EveryImageFitsItsPlaceAndIsKeyedOrOpaqueAsItIsDrawn) {
    for (const auto &lim : kImages) {
        std::istringstream files(lim.files);
        int first_w = -1, first_h = -1;
        for (std::string file; files >> file;) {
            SCOPED_TRACE(file);
            Surface img = load(file + ".png");
            ASSERT_NE(img, nullptr) << IMG_GetError();
            EXPECT_TRUE(img->w >= lim.min_w && img->w <= lim.max_w && img->h >= lim.min_h && img->h <= lim.max_h)
                << img->w << "x" << img->h;
            if (first_w < 0) first_w = img->w, first_h = img->h;
            EXPECT_TRUE(!lim.same || (img->w == first_w && img->h == first_h)) << "differs from its twin";
            const Uint32 *pixels = static_cast<Uint32 *>(img->pixels);  // 32 bits a pixel: no padding
            auto keyed = std::count(pixels, pixels + img->w * img->h, kKey);
            EXPECT_TRUE(lim.keying == ANY || (keyed > 0) == (lim.keying == KEYED)) << keyed << " keyed pixels";
        }
    }
}

// Name-grid letters stand alone, with no word to tell a W from an N: in every font any two differ in three pixels
// or more (the bold M, N and W once differed in one or two, and "name" read as "nawe").
TEST(Data, NameGridGlyphsAreDistinct) {
    for (const char *file : {"font1", "font1_hilite", "font2", "font2_hilite", "font3"}) {
        Surface img = load(std::string(file) + ".png");
        const Uint32 *pixels = static_cast<Uint32 *>(img->pixels);
        const int cw = img->w / 95;
        for (const char *a = name_grid; *a; ++a)
            for (const char *b = a + 1; *b && *a != ' '; ++b) {
                int differ = 0;
                for (int i = 0, row = 0; i < cw * img->h; ++i, row = i / cw * img->w + i % cw)
                    differ += pixels[row + (*a - 32) * cw] != pixels[row + (*b - 32) * cw];
                EXPECT_TRUE(*b == ' ' || differ >= 3) << file << ": " << *a << " and " << *b;
            }
    }
}

}  // namespace
