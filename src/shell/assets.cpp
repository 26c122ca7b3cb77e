// The asset catalogue: all images and sounds, loaded in a fixed order at
// start-up and freed in the same order at shutdown.
#include "shell/assets.h"
#include "draw/sprites.h"
#include <stdio.h>
#include <SDL_image.h>
#include "shell/platform.h"

Assets assets;

const char *const asset_paths[ASSET_COUNT] = {
    "data/tile_normal.png",          "data/tile_highlighted.png",
    "data/numbers.png",              "data/tablecleared.png",
    "data/gorvel1.png",              "data/gorvel2.png",
    "data/gorvel3.png",              "data/gorvel4.png",
    "data/gorvel_popup.png",         "data/font1.png",
    "data/font1_hilite.png",         "data/font2.png",
    "data/font2_hilite.png",         "data/font3.png",
    "data/selector.png",             "data/background.png",
    "data/ready.png",                "data/timesup.png",
    "data/congrats.png",             "data/gameover.png",
    "data/player1.png",              "data/player2.png",
    "data/winner.png",               "data/topgorvels.png",
    "data/oneplayerscore_header.png", "data/twoplayerscore_header.png",
    "data/button_newgame.png",       "data/button_resume.png",
    "data/button_quit.png",          "data/button_highscores.png",
    "data/button_instructions.png",  "data/button_menu.png",
    "data/button_takescore.png",     "data/button_player1.png",
    "data/button_player2.png",       "data/button_ok.png",
    "data/timer_image.png",          "data/title.png",
    "data/background_tile.png",      "data/instructions.png",
    "data/button_takescore_sure.png", "data/chime1.wav",
    "data/click1.wav",               "data/click2.wav",
    "data/click3.wav",               "data/nono.wav",
    "data/good.wav",
};

// The handle each catalogue entry fills, in the same order as the paths.
static SDL_Surface **const image_handles[ASSET_IMAGE_COUNT] = {
    &assets.tile_normal, &assets.tile_highlighted, &assets.numbers, &assets.tablecleared,
    &assets.gorvel[0], &assets.gorvel[1], &assets.gorvel[2], &assets.gorvel[3],
    &assets.gorvel_popup, &assets.font1, &assets.font1_hilite, &assets.font2,
    &assets.font2_hilite, &assets.font3, &assets.selector, &assets.background,
    &assets.ready, &assets.timesup, &assets.congrats, &assets.gameover,
    &assets.player1, &assets.player2, &assets.winner, &assets.topgorvels,
    &assets.oneplayerscore_header, &assets.twoplayerscore_header,
    &assets.button_newgame, &assets.button_resume, &assets.button_quit,
    &assets.button_highscores, &assets.button_instructions, &assets.button_menu,
    &assets.button_takescore, &assets.button_player1, &assets.button_player2,
    &assets.button_ok, &assets.timer_image, &assets.title, &assets.background_tile,
    &assets.instructions, &assets.button_takescore_sure,
};

static Mix_Chunk **const sound_handles[ASSET_SOUND_COUNT] = {
    &assets.chime1, &assets.click1, &assets.click2,
    &assets.click3, &assets.nono,   &assets.good,
};

[[noreturn]] static void image_failure(const char *path) {
    // Written in pieces, so no buffer limits how long a path may be; the
    // path is data, never a format.
    fputs("Unable to load image: ", stderr);
    fputs(path, stderr);
    fatal_error("\n");
}

static Uint32 read_pixel(const SDL_Surface *s, int x, int y) {
    const Uint8 *p = (const Uint8 *)s->pixels + y * s->pitch + x * s->format->BytesPerPixel;
    switch (s->format->BytesPerPixel) {
    case 1: return *p;
    case 2: return *(const Uint16 *)p;
    case 3:
        if (SDL_BYTEORDER == SDL_LIL_ENDIAN)
            return (Uint32)p[0] | (Uint32)p[1] << 8 | (Uint32)p[2] << 16;
        return (Uint32)p[0] << 16 | (Uint32)p[1] << 8 | (Uint32)p[2];
    default: return *(const Uint32 *)p;
    }
}

static void write_pixel(SDL_Surface *s, int x, int y, Uint32 value) {
    Uint8 *p = (Uint8 *)s->pixels + y * s->pitch + x * s->format->BytesPerPixel;
    switch (s->format->BytesPerPixel) {
    case 1: *p = (Uint8)value; break;
    case 2: *(Uint16 *)p = (Uint16)value; break;
    case 4: *(Uint32 *)p = value; break;
    default: break;  // display formats of 24 bits are left as they are
    }
}

static int is_key_colour(const SDL_PixelFormat *format, Uint32 pixel) {
    Uint8 r, g, b;
    SDL_GetRGB(pixel, format, &r, &g, &b);
    return r == 0 && g == 255 && b == 255;
}

// The display has fewer bits per channel than the file: colours a step or
// two off cyan would reduce to the key and vanish. Only exact cyan is meant
// to be transparent, so those pixels move one step away from the key.
static void keep_near_key_visible(SDL_Surface *loaded, SDL_Surface *converted, Uint32 key) {
    Uint32 blue_step = converted->format->Bmask & (~converted->format->Bmask + 1);
    if (blue_step == 0 || converted->w != loaded->w || converted->h != loaded->h)
        return;
    SDL_LockSurface(loaded);
    SDL_LockSurface(converted);
    for (int y = 0; y < converted->h; y++)
        for (int x = 0; x < converted->w; x++)
            if (read_pixel(converted, x, y) == key && !is_key_colour(loaded->format, read_pixel(loaded, x, y)))
                write_pixel(converted, x, y, key - blue_step);
    SDL_UnlockSurface(converted);
    SDL_UnlockSurface(loaded);
}

SDL_Surface *load_image(const char *path) {
    SDL_Surface *loaded = IMG_Load(path);
    if (!loaded)
        image_failure(path);
    SDL_Surface *converted = SDL_DisplayFormat(loaded);
    // Every screen reads sizes from its images, so a failed conversion must
    // stop here rather than hand on a null image.
    if (!converted) {
        SDL_FreeSurface(loaded);
        image_failure(path);
    }
    Uint32 key = SDL_MapRGB(converted->format, 0, 255, 255);
    keep_near_key_visible(loaded, converted, key);
    SDL_FreeSurface(loaded);
    SDL_SetColorKey(converted, SDL_SRCCOLORKEY | SDL_RLEACCEL, key);
    return converted;
}

Mix_Chunk *load_sound(const char *path) {
    Mix_Chunk *chunk = Mix_LoadWAV_RW(SDL_RWFromFile(path, "rb"), 1);
    if (!chunk)
        fatal_error("Unable to load sound");
    return chunk;
}

// The fonts and the card values are drawn a cell at a time on every frame.
static void cut_sheets(void) {
    SDL_Surface *fonts[] = {assets.font1, assets.font1_hilite, assets.font2, assets.font2_hilite,
                            assets.font3};
    for (SDL_Surface *font : fonts)
        cut_cell_sheet(font, font->w / 95, 95);
    cut_cell_sheet(assets.numbers, 20, 13);
}

// The card tiles are blitted up to 36 times a frame. SDL copies every row of
// an RLE surface with a rep movs whose start-up outweighs a 36-pixel row, so
// keyed with RLE the tiles alone cost two and a half background blits a
// frame; a plain colour key draws the same pixels in half the time
// (bench/bench_frame).
static void key_without_rle(SDL_Surface *image) {
    SDL_SetColorKey(image, SDL_SRCCOLORKEY, SDL_MapRGB(image->format, 0, 255, 255));
}

int load_assets(void) {
    for (int i = 0; i < ASSET_IMAGE_COUNT; i++)
        *image_handles[i] = load_image(asset_paths[i]);
    for (int i = 0; i < ASSET_SOUND_COUNT; i++)
        *sound_handles[i] = load_sound(asset_paths[ASSET_IMAGE_COUNT + i]);
    cut_sheets();
    key_without_rle(assets.tile_normal);
    key_without_rle(assets.tile_highlighted);
    return 1;
}

void free_assets(void) {
    free_cell_sheets();
    for (SDL_Surface **handle : image_handles)
        SDL_FreeSurface(*handle);
    for (Mix_Chunk **handle : sound_handles)
        Mix_FreeChunk(*handle);
}
