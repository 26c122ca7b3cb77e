// The asset record: every handle holds its own file in the display's format,
// keyed on cyan; only exact cyan is transparent, also on a 16-bit display.
#include <string>
#include <gtest/gtest.h>
#include "draw/sprites.h"
#include "harness.h"
#include "platform/assets.h"
#include "platform/platform.h"
#include "platform/seam.h"

TEST(Assets, EachHandleHoldsItsOwnFileInTheDisplayFormatKeyedOnCyan) {
    harness_start();
    for (const Asset &f : asset_catalogue) {
        if (!f.image)
            continue;
        SDL_Surface *held = *f.image, *fresh = load_image(f.path);
        ASSERT_TRUE(fresh->w == held->w && fresh->h == held->h) << f.path;
        SDL_FillRect(screen, nullptr, 0);
        draw_image(0, 0, fresh, screen);
        EXPECT_TRUE(image_drawn_at(held, 0, 0)) << f.path;
        SDL_FreeSurface(fresh);
        EXPECT_TRUE(held->format->BitsPerPixel == screen->format->BitsPerPixel &&
                    held->format->Gmask == screen->format->Gmask) << f.path << " is in the display's format";
        EXPECT_TRUE((held->flags & SDL_SRCCOLORKEY) && held->format->colorkey == screen_rgb(0, 255, 255))
            << f.path << " is keyed on cyan";
        // The maintained library drops the flag; the tiles go without it for speed.
        if (!sdl_is_maintained() && held != assets.tile_normal && held != assets.tile_highlighted) {
            EXPECT_TRUE(held->flags & (SDL_RLEACCELOK | SDL_RLEACCEL)) << f.path;
        }
    }
}

TEST(Assets, OnlyExactCyanIsTransparentEvenCloseToItOnA16BitDisplay) {
    harness_start();
    // Colours a 16-bit display cannot tell from cyan, and black.
    SDL_Color colours[] = {{0, 255, 255, 0}, {1, 255, 255, 0}, {0, 254, 255, 0}, {0, 255, 254, 0},
                           {7, 252, 248, 0}, {8, 255, 255, 0}, {0, 251, 255, 0}, {0, 255, 247, 0},
                           {0, 0, 0, 0},     {0, 255, 255, 0}};
    const int n = sizeof colours / sizeof colours[0];
    // One row of the colours as a BMP, which IMG_Load reads too; 8 bits makes
    // a palette image.
    for (int depth : {32, 8}) {
        SDL_Surface *strip = depth == 8
                                 ? SDL_CreateRGBSurface(SDL_SWSURFACE, n, 1, 8, 0, 0, 0, 0)
                                 : SDL_CreateRGBSurface(SDL_SWSURFACE, n, 1, 32, 0xff0000, 0xff00, 0xff, 0);
        if (depth == 8)
            SDL_SetColors(strip, colours, 0, n);
        for (int i = 0; i < n; i++) {
            SDL_Rect pixel = {(Sint16)i, 0, 1, 1};
            SDL_FillRect(strip, &pixel, SDL_MapRGB(strip->format, colours[i].r, colours[i].g, colours[i].b));
        }
        std::string path = harness_dir() + "/strip.bmp";
        SDL_SaveBMP(strip, path.c_str());
        SDL_FreeSurface(strip);
        SDL_Surface *image = load_image(path.c_str());
        SDL_FillRect(screen, nullptr, screen_rgb(255, 0, 255));
        draw_image(3, 4, image, screen);
        for (int i = 0; i < n; i++) {
            bool cyan = colours[i].r == 0 && colours[i].g == 255 && colours[i].b == 255;
            EXPECT_EQ(pixel_at(3 + i, 4) == screen_rgb(255, 0, 255), cyan) << depth << " bits, colour " << i;
        }
        SDL_FreeSurface(image);
    }
}
