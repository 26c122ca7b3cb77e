// The asset catalogue: all images and sounds, loaded in a fixed order at
// start-up and freed in the same order at shutdown.
#include "platform/assets.h"
#include <stdio.h>
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include "platform/launcher.h"

Assets assets;

// The handle's name is the file's name, so no row can fill the wrong one.
#define IMAGE(name) {"data/" #name ".png", &assets.name, nullptr, 0, 0}
#define SHEET(name, cells, width) {"data/" #name ".png", &assets.name, nullptr, cells, width}
#define SOUND(name, id) {"data/" #name ".wav", nullptr, &assets.sounds[id], 0, 0}

const Asset asset_catalogue[] = {
    IMAGE(tile_normal),
    IMAGE(tile_highlighted),
    SHEET(numbers, VALUE_CELLS, VALUE_CELL),
    IMAGE(tablecleared),
    IMAGE(gorvel1),
    IMAGE(gorvel2),
    IMAGE(gorvel3),
    IMAGE(gorvel4),
    IMAGE(gorvel_popup),
    SHEET(font1, FONT_CELLS, 0),
    SHEET(font1_hilite, FONT_CELLS, 0),
    SHEET(font2, FONT_CELLS, 0),
    SHEET(font2_hilite, FONT_CELLS, 0),
    SHEET(font3, FONT_CELLS, 0),
    IMAGE(selector),
    IMAGE(background),
    IMAGE(ready),
    IMAGE(timesup),
    IMAGE(congrats),
    IMAGE(gameover),
    IMAGE(player1),
    IMAGE(player2),
    IMAGE(winner),
    IMAGE(topgorvels),
    IMAGE(oneplayerscore_header),
    IMAGE(twoplayerscore_header),
    IMAGE(button_newgame),
    IMAGE(button_resume),
    IMAGE(button_quit),
    IMAGE(button_highscores),
    IMAGE(button_instructions),
    IMAGE(button_menu),
    IMAGE(button_takescore),
    IMAGE(button_player1),
    IMAGE(button_player2),
    IMAGE(button_ok),
    IMAGE(timer_image),
    IMAGE(title),
    IMAGE(background_tile),
    IMAGE(instructions),
    IMAGE(button_takescore_sure),
    SOUND(chime1, SOUND_CHIME1),
    SOUND(click1, SOUND_CLICK1),
    SOUND(click2, SOUND_CLICK2),
    SOUND(click3, SOUND_CLICK3),
    SOUND(nono, SOUND_NONO),
    SOUND(good, SOUND_GOOD),
};
static_assert(sizeof asset_catalogue / sizeof asset_catalogue[0] == ASSET_COUNT, "a row for every handle");

int asset_cell_width(const Asset *asset, int width) {
    return asset->cell_width ? asset->cell_width : width / asset->cells;
}

namespace {

[[noreturn]] void image_failure(const char *path) {
    // Written in pieces, so no buffer limits how long a path may be; the
    // path is data, never a format.
    fputs("Unable to load image: ", stderr);
    fputs(path, stderr);
    fatal_error("\n");
}

#ifdef __EMSCRIPTEN__
// The browser's SDL keeps every surface as 32-bit RGBA bytes, has no
// SDL_DisplayFormat and ignores colour keys. Each image is brought to what
// the desktop's 16-bit screen shows of it (the bits below RGB565 dropped),
// with its key colour transparent, so that every frame equals the
// desktop's. As there, a colour that only rounds to the key stays visible,
// one blue step away from it.
Image *to_screen_colours(SDL_Surface *image) {
    SDL_LockSurface(image);
    for (int y = 0; y < image->h; y++) {
        Uint8 *p = (Uint8 *)image->pixels + y * image->pitch;
        for (int x = 0; x < image->w; x++, p += 4) {
            int key = p[0] == 0 && p[1] == 255 && p[2] == 255;
            p[0] &= 0xF8;
            p[1] &= 0xFC;
            p[2] &= 0xF8;
            if (!key && p[0] == 0 && p[1] == 0xFC && p[2] == 0xF8)
                p[2] = 0xF0;
            p[3] = key ? 0 : 255;
        }
    }
    SDL_UnlockSurface(image);
    return image;
}
#else
Uint32 read_pixel(const SDL_Surface *s, int x, int y) {
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

void write_pixel(SDL_Surface *s, int x, int y, Uint32 value) {
    Uint8 *p = (Uint8 *)s->pixels + y * s->pitch + x * s->format->BytesPerPixel;
    switch (s->format->BytesPerPixel) {
    case 1: *p = (Uint8)value; break;
    case 2: *(Uint16 *)p = (Uint16)value; break;
    case 4: *(Uint32 *)p = value; break;
    default: break;  // display formats of 24 bits are left as they are
    }
}

int is_key_colour(const SDL_PixelFormat *format, Uint32 pixel) {
    Uint8 r, g, b;
    SDL_GetRGB(pixel, format, &r, &g, &b);
    return r == 0 && g == 255 && b == 255;
}

// The display has fewer bits per channel than the file: colours a step or
// two off cyan would reduce to the key and vanish. Only exact cyan is meant
// to be transparent, so those pixels move one step away from the key.
void keep_near_key_visible(SDL_Surface *loaded, SDL_Surface *converted, Uint32 key) {
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
#endif

}  // namespace

Image *load_image(const char *path) {
    SDL_Surface *loaded = IMG_Load(path);
    if (!loaded)
        image_failure(path);
#ifdef __EMSCRIPTEN__
    return to_screen_colours(loaded);
#else
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
#endif
}

namespace {

Mix_Chunk *load_sound(const char *path) {
    Mix_Chunk *chunk = Mix_LoadWAV_RW(SDL_RWFromFile(path, "rb"), 1);
    if (!chunk)
        fatal_error("Unable to load sound");
    return chunk;
}

}  // namespace

int load_assets(void) {
    for (const Asset &a : asset_catalogue) {
        if (a.image)
            *a.image = load_image(a.path);
        else
            *a.sound = load_sound(a.path);
    }
    // The fonts and the card values are drawn a cell at a time on every frame.
    for (const Asset &a : asset_catalogue)
        if (a.cells)
            cut_cell_sheet(*a.image, asset_cell_width(&a, (*a.image)->w), a.cells);
    return 1;
}

void free_assets(void) {
    free_cell_sheets();
    for (const Asset &a : asset_catalogue)
        if (a.image)
            SDL_FreeSurface(*a.image);
    for (const Asset &a : asset_catalogue)
        if (a.sound)
            Mix_FreeChunk(*a.sound);
}
