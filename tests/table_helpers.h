// Shared by the table tests: a table laid out without animation, and checks
// that parts of images and text appear on the real screen.
#pragma once
#include <SDL.h>
#include <stdlib.h>
#include <string>
#include "draw/sprites.h"
#include "harness.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/platform.h"
#include "table/deal.h"
#include "table/table_loop.h"
#include "table/table_state.h"

// A freshly dealt table for `seed` as the table loop starts it, without the
// deal's animation: cursor on 30, nothing chosen, full time and stock.
inline void lay_out_table(unsigned seed) {
    srand(seed);
    int deck[52];
    shuffle_deck(deck);
    for (int i = 0; i < SLOT_CELLS; i++)
        table.table_slots[i] = deck[i];
    table.cursor_slot = 30;
    table.selected_first = table.selected_second = NO_SLOT;
    table.time_left = TABLE_TIME;
    table.pair_bonus = BONUS_START;
    table.idle_ticks = 0;
    table.stock_count = 18;
    table.equal_pairs = table.adjacent_pairs = 0;
    table.table_over = table.takescore_armed = table.stock_turn_phase = 0;
    table.moving_active = table.moving2_active = 0;
    table.moving_slot = table.moving2_slot = NO_SLOT;
    table.now_ms = table.last_tick_ms = (Sint32)now_ms();
    if (table_number < 1)
        table_number = 1;
}

// The image's pixel (x, y) in the screen's format.
inline Uint32 image_pixel(SDL_Surface *image, int x, int y) {
    SDL_Surface *plain = SDL_ConvertSurface(image, screen->format, SDL_SWSURFACE);
    SDL_LockSurface(plain);
    Uint32 v = ((Uint16 *)((Uint8 *)plain->pixels + y * plain->pitch))[x];
    SDL_UnlockSurface(plain);
    SDL_FreeSurface(plain);
    return v;
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
            if (v != key && v != pixel_at(x + i, y + j))
                same = false;
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

// True when the text shows in the font at (x, y), glyph by glyph.
inline bool text_drawn_at(SDL_Surface *font, const std::string &text, int x, int y) {
    int gw = font->w / 95;
    for (size_t i = 0; i < text.size(); i++)
        if (!part_drawn_at(font, gw * (text[i] - 32), 0, gw, font->h, x + (int)i * (gw + 1), y))
            return false;
    return true;
}
