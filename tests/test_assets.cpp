// The asset catalogue: every file lands in its own handle in the display's
// format, keyed on exact cyan with run-length acceleration; only exact cyan
// is transparent.
#include <stdlib.h>
#include <unistd.h>
#include <string>
#include <gtest/gtest.h>
#include "draw/sprites.h"
#include "harness.h"
#include "shell/assets.h"
#include "shell/platform.h"

// The record's fields by file; a handle filled from the wrong file shows the
// wrong picture everywhere it is drawn.
static const struct {
    SDL_Surface *const *handle;
    const char *path;
} IMAGE_FIELDS[] = {
    {&assets.tile_normal, "data/tile_normal.png"},
    {&assets.tile_highlighted, "data/tile_highlighted.png"},
    {&assets.numbers, "data/numbers.png"},
    {&assets.tablecleared, "data/tablecleared.png"},
    {&assets.gorvel[0], "data/gorvel1.png"},
    {&assets.gorvel[1], "data/gorvel2.png"},
    {&assets.gorvel[2], "data/gorvel3.png"},
    {&assets.gorvel[3], "data/gorvel4.png"},
    {&assets.gorvel_popup, "data/gorvel_popup.png"},
    {&assets.font1, "data/font1.png"},
    {&assets.font1_hilite, "data/font1_hilite.png"},
    {&assets.font2, "data/font2.png"},
    {&assets.font2_hilite, "data/font2_hilite.png"},
    {&assets.font3, "data/font3.png"},
    {&assets.selector, "data/selector.png"},
    {&assets.background, "data/background.png"},
    {&assets.ready, "data/ready.png"},
    {&assets.timesup, "data/timesup.png"},
    {&assets.congrats, "data/congrats.png"},
    {&assets.gameover, "data/gameover.png"},
    {&assets.player1, "data/player1.png"},
    {&assets.player2, "data/player2.png"},
    {&assets.winner, "data/winner.png"},
    {&assets.topgorvels, "data/topgorvels.png"},
    {&assets.oneplayerscore_header, "data/oneplayerscore_header.png"},
    {&assets.twoplayerscore_header, "data/twoplayerscore_header.png"},
    {&assets.button_newgame, "data/button_newgame.png"},
    {&assets.button_resume, "data/button_resume.png"},
    {&assets.button_quit, "data/button_quit.png"},
    {&assets.button_highscores, "data/button_highscores.png"},
    {&assets.button_instructions, "data/button_instructions.png"},
    {&assets.button_menu, "data/button_menu.png"},
    {&assets.button_takescore, "data/button_takescore.png"},
    {&assets.button_player1, "data/button_player1.png"},
    {&assets.button_player2, "data/button_player2.png"},
    {&assets.button_ok, "data/button_ok.png"},
    {&assets.timer_image, "data/timer_image.png"},
    {&assets.title, "data/title.png"},
    {&assets.background_tile, "data/background_tile.png"},
    {&assets.instructions, "data/instructions.png"},
    {&assets.button_takescore_sure, "data/button_takescore_sure.png"},
};

static Uint32 plain_pixel(SDL_Surface *plain, int x, int y) {
    return ((Uint16 *)((Uint8 *)plain->pixels + y * plain->pitch))[x];
}

// Draws the image over a background and checks every pixel on screen: the
// background where the image holds the key, the image's own pixel elsewhere.
static void expect_keyed_blit(SDL_Surface *image, const char *name) {
    Uint32 background = screen_rgb(255, 0, 255);
    SDL_FillRect(screen, nullptr, background);
    draw_image(0, 0, image, screen);
    SDL_Surface *plain = SDL_ConvertSurface(image, screen->format, SDL_SWSURFACE);
    Uint32 key = SDL_MapRGB(plain->format, 0, 255, 255);
    int wrong = 0, keyed = 0;
    for (int y = 0; y < plain->h && y < 240; y++)
        for (int x = 0; x < plain->w && x < 320; x++) {
            Uint32 v = plain_pixel(plain, x, y);
            keyed += v == key;
            wrong += pixel_at(x, y) != (v == key ? background : v);
        }
    EXPECT_EQ(wrong, 0) << name << " (" << keyed << " keyed pixels)";
    SDL_FreeSurface(plain);
}

TEST(Assets, EveryImageIsInTheDisplayFormatKeyedOnCyanWithRle) {
    harness_start();
    for (auto &f : IMAGE_FIELDS) {
        SDL_Surface *image = *f.handle;
        ASSERT_NE(image, nullptr) << f.path;
        EXPECT_EQ(image->format->BitsPerPixel, screen->format->BitsPerPixel) << f.path;
        EXPECT_EQ(image->format->Rmask, screen->format->Rmask) << f.path;
        EXPECT_EQ(image->format->Gmask, screen->format->Gmask) << f.path;
        EXPECT_EQ(image->format->Bmask, screen->format->Bmask) << f.path;
        EXPECT_TRUE(image->flags & SDL_SRCCOLORKEY) << f.path;
        // The maintained library drops the flag; the tiles go without it for speed.
        bool tile = image == assets.tile_normal || image == assets.tile_highlighted;
        if (!sdl_is_maintained() && !tile) {
            EXPECT_TRUE(image->flags & (SDL_RLEACCELOK | SDL_RLEACCEL)) << f.path;
        }
        EXPECT_EQ(image->format->colorkey, SDL_MapRGB(image->format, 0, 255, 255)) << f.path;
        expect_keyed_blit(image, f.path);
    }
    Mix_Chunk *sounds[] = {assets.chime1, assets.click1, assets.click2, assets.click3, assets.nono, assets.good};
    for (Mix_Chunk *sound : sounds) {
        ASSERT_NE(sound, nullptr);
        EXPECT_GT(sound->alen, 0u);
    }
}

TEST(Assets, EachHandleHoldsItsOwnFile) {
    harness_start();
    for (int i = 0; i < ASSET_IMAGE_COUNT; i++)
        EXPECT_STREQ(asset_paths[i], IMAGE_FIELDS[i].path) << i;
    for (auto &f : IMAGE_FIELDS) {
        SDL_Surface *fresh = load_image(f.path);
        SDL_Surface *held = *f.handle;
        ASSERT_EQ(fresh->w, held->w) << f.path;
        ASSERT_EQ(fresh->h, held->h) << f.path;
        SDL_FillRect(screen, nullptr, 0);
        draw_image(0, 0, fresh, screen);
        EXPECT_TRUE(image_drawn_at(held, 0, 0)) << f.path;
        SDL_FreeSurface(fresh);
    }
}

TEST(Assets, ImagesFollowTheLayoutsTheScreensRelyOn) {
    harness_start();
    SDL_Surface *fonts[] = {assets.font1, assets.font1_hilite, assets.font2, assets.font2_hilite, assets.font3};
    for (SDL_Surface *font : fonts) {
        EXPECT_EQ(font->w % 95, 0);
        EXPECT_GE(font->w / 95, 3);
    }
    EXPECT_EQ(assets.numbers->w, 13 * 20);
    EXPECT_EQ(assets.numbers->h, 20);
    EXPECT_GE(assets.timer_image->w, 125);
    EXPECT_GE(assets.timer_image->h, 9);
    EXPECT_EQ(assets.background->w, 320);
    EXPECT_EQ(assets.background->h, 240);
}

// Writes a BMP of one row of the given colours (IMG_Load reads BMP as well)
// in the given depth; 8 bits makes a palette image.
static std::string write_strip(const std::string &dir, const Uint8 (*colours)[3], int n, int depth) {
    SDL_Surface *s;
    if (depth == 8) {
        s = SDL_CreateRGBSurface(SDL_SWSURFACE, n, 1, 8, 0, 0, 0, 0);
        SDL_Color palette[256] = {};
        for (int i = 0; i < n; i++)
            palette[i] = {colours[i][0], colours[i][1], colours[i][2], 0};
        SDL_SetColors(s, palette, 0, 256);
        for (int i = 0; i < n; i++)
            ((Uint8 *)s->pixels)[i] = (Uint8)i;
    } else {
        s = SDL_CreateRGBSurface(SDL_SWSURFACE, n, 1, 32, 0xff0000, 0xff00, 0xff, 0);
        for (int i = 0; i < n; i++)
            ((Uint32 *)s->pixels)[i] = SDL_MapRGB(s->format, colours[i][0], colours[i][1], colours[i][2]);
    }
    std::string path = dir + "/strip" + std::to_string(depth) + ".bmp";
    SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
    return path;
}

TEST(Assets, OnlyExactCyanIsTransparentEvenCloseToItOnA16BitDisplay) {
    harness_start();
    // Near-cyan colours that a 16-bit display cannot tell from cyan.
    const Uint8 colours[][3] = {
        {0, 255, 255}, {1, 255, 255}, {0, 254, 255}, {0, 255, 254}, {7, 252, 248},
        {8, 255, 255}, {0, 251, 255}, {0, 255, 247}, {0, 0, 0},     {0, 255, 255},
    };
    const int n = sizeof colours / sizeof colours[0];
    const int depths[] = {24, 8};
    for (int depth : depths) {
        std::string path = write_strip(harness_dir(), colours, n, depth);
        SDL_Surface *image = load_image(path.c_str());
        Uint32 background = screen_rgb(255, 0, 255);
        SDL_FillRect(screen, nullptr, background);
        draw_image(3, 4, image, screen);
        for (int i = 0; i < n; i++) {
            bool cyan = colours[i][0] == 0 && colours[i][1] == 255 && colours[i][2] == 255;
            EXPECT_EQ(pixel_at(3 + i, 4) == background, cyan) << "depth " << depth << " colour " << i;
        }
        SDL_FreeSurface(image);
    }
}

TEST(Assets, FreeingReleasesEverySurfaceOnce) {
    harness_start();
    // A surface's refcount reaches 0 only when SDL frees it; raise them all so
    // free_assets leaves them readable, and see each lowered exactly once.
    for (auto &f : IMAGE_FIELDS)
        (*f.handle)->refcount++;
    free_assets();
    for (auto &f : IMAGE_FIELDS) {
        EXPECT_EQ((*f.handle)->refcount, 1) << f.path;
        (*f.handle)->refcount = 1;
    }
}
