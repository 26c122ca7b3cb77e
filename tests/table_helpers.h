// Shared by the table tests: a dealt table, a watch on when a table is in
// play, and checks that parts of images show on screen.
#pragma once
#include <SDL.h>
#include <string>
#include "harness.h"
#include "platform/assets.h"
#include "rules/game_state.h"
#include "game/game_flow.h"
#include "platform/platform.h"
#include "platform/seam.h"
#include "screens/table_loop.h"
#include "rules/timer.h"
#include "rules/table_state.h"

// The platform up and a table dealt for `seed` as the table loop starts it:
// the first table of a one-player game.
inline void start_dealt(unsigned seed) {
    harness_start(seed);
    table_number = 1;
    start_table();
}

// Called from a hook: 1 from the first pass of the table loop until the
// table ends. *dealt_at keeps the clock of the ready banner, -1 before it.
inline int table_in_play(Sint32 *dealt_at) {
    if (table.cursor_slot == NO_SLOT)
        *dealt_at = -1;
    else if (*dealt_at == -1 && table.stock_count == 18 && table.time_left == TABLE_TIME)
        *dealt_at = table.now_ms;
    return *dealt_at != -1 && table.now_ms != *dealt_at && !table.table_over;
}

// True when the part (sx, sy, w, h) of the image shows on screen at (x, y)
// wherever the image is not transparent.
inline bool part_drawn_at(SDL_Surface *image, int sx, int sy, int w, int h, int x, int y) {
    SDL_Surface *plain = SDL_ConvertSurface(image, screen->format, SDL_SWSURFACE);
    Uint32 key = SDL_MapRGB(plain->format, 0, 255, 255);
    bool same = true;
    SDL_LockSurface(plain);
    for (int j = 0; j < h && same; j++)
        for (int i = 0; i < w && same; i++) {
            Uint32 v = ((Uint16 *)((Uint8 *)plain->pixels + (sy + j) * plain->pitch))[sx + i];
            same = v == key || v == pixel_at(x + i, y + j);
        }
    SDL_UnlockSurface(plain);
    SDL_FreeSurface(plain);
    return same;
}

// A card of value v on the given tile: the tile's top rows above the value
// and the value's 20 x 20 cell at (x + 8, y + 3).
inline bool card_drawn_at(int v, SDL_Surface *tile, int x, int y) {
    return part_drawn_at(tile, 0, 0, tile->w, 3, x, y) &&
           part_drawn_at(assets.numbers, 20 * (v - 1), 0, 20, 20, x + 8, y + 3);
}

// Either tile's top rows at (x, y): some card there.
inline bool tile_drawn_at(int x, int y) {
    return part_drawn_at(assets.tile_normal, 0, 0, 36, 3, x, y) ||
           part_drawn_at(assets.tile_highlighted, 0, 0, 36, 3, x, y);
}

// True when the text shows in the font at (x, y), glyph by glyph.
inline bool text_drawn_at(SDL_Surface *font, const std::string &text, int x, int y) {
    int gw = font->w / 95;
    for (size_t i = 0; i < text.size(); i++)
        if (!part_drawn_at(font, gw * (text[i] - 32), 0, gw, font->h, x + (int)i * (gw + 1), y))
            return false;
    return true;
}

// An image centred on the table area, where the banners go.
inline bool centred(SDL_Surface *image) {
    return image_drawn_at(image, 190 - image->w / 2, 120 - image->h / 2);
}
