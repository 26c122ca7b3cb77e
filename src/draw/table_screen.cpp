// The table screen: one whole frame of a running table, redrawn from the
// background up and presented.
#include "draw/table_screen.h"
#include <stdio.h>
#include "draw/overlay.h"
#include "draw/sprites.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/platform.h"
#include "table/table_state.h"

enum {
    VALUE_CELL = 20, VALUE_DX = 8, VALUE_DY = 3,
    SELECTOR_DX = 10, SELECTOR_DY = 25,
    STOCK_X = 80, STOCK_Y = 180, STOCK_SELECTOR_X = 90, STOCK_SELECTOR_Y = 205,
    TAKESCORE_X = 10, TAKESCORE_Y = 200, TAKESCORE_SELECTOR_X = 20, TAKESCORE_SELECTOR_Y = 225,
    HEADING_X = 4, HEADING_Y = 30,
    SCORE_X = 1, SCORE1_Y = 41, SCORE2_Y = 67,
    TIMER_X = 125, TIMER_Y = 2, TIMER_H = 9,
    BONUS_X = 10, BONUS_Y = 158,
    ADJACENT_X = 10, EQUAL_X = 39, PAIRS_Y = 125,
    STOCK_COUNT_X = 87, STOCK_COUNT_Y = 229,
    TABLE_NO_X = 297, TABLE_NO_Y = 0,
    BANNER_MIDDLE_X = 190, BANNER_MIDDLE_Y = 120, WINNER_GAP = 2,
    NUMBER_TEXT = 16
};

static int shown_in_flight(int s) {
    return (table.moving_active && table.moving_slot == s) ||
           (table.moving2_active && table.moving2_slot == s);
}

void draw_card(int s, int x, int y) {
    if (s < 0 || s > WASTE_SLOT)
        return;
    int v = table.table_slots[s];
    if (v >= 1 && v <= 13) {
        int chosen = s == table.selected_first || s == table.selected_second;
        draw_image(x, y, chosen ? assets.tile_highlighted : assets.tile_normal, screen);
        SDL_Rect at = {(Sint16)(x + VALUE_DX), (Sint16)(y + VALUE_DY), 0, 0};
        SDL_Surface *cut = sheet_cell(assets.numbers, v - 1);
        if (cut) {
            SDL_UpperBlit(cut, nullptr, screen, &at);
        } else {
            SDL_Rect cell = {(Sint16)(VALUE_CELL * (v - 1)), 0, VALUE_CELL, VALUE_CELL};
            SDL_UpperBlit(assets.numbers, &cell, screen, &at);
        }
    }
    if (s == table.cursor_slot)
        draw_image(x + SELECTOR_DX, y + SELECTOR_DY, assets.selector, screen);
}

static void draw_cards(void) {
    for (int s = 0; s <= WASTE_SLOT; s++) {
        if (shown_in_flight(s))
            continue;
        SlotPos at = slot_position(s);
        draw_card(s, at.x, at.y);
    }
}

static void draw_stock(void) {
    SDL_Surface *picture = nullptr;
    if (table.table_slots[STOCK_TOP] == 0)
        picture = assets.gorvel[3];
    else if (table.stock_turn_phase >= 0 && table.stock_turn_phase <= 2)
        picture = assets.gorvel[table.stock_turn_phase];
    draw_image(STOCK_X, STOCK_Y, picture, screen);
    if (table.cursor_slot == STOCK_TARGET)
        draw_image(STOCK_SELECTOR_X, STOCK_SELECTOR_Y, assets.selector, screen);
}

static void draw_flights(void) {
    if (table.moving_active)
        draw_card(table.moving_slot, table.moving_x, table.moving_y);
    if (table.moving2_active)
        draw_card(table.moving2_slot, table.moving2_x, table.moving2_y);
}

static void draw_takescore(void) {
    draw_image(TAKESCORE_X, TAKESCORE_Y, assets.button_takescore, screen);
    if (table.takescore_armed)
        draw_image(TAKESCORE_X, TAKESCORE_Y, assets.button_takescore_sure, screen);
    if (table.cursor_slot == TAKESCORE_TARGET)
        draw_image(TAKESCORE_SELECTOR_X, TAKESCORE_SELECTOR_Y, assets.selector, screen);
}

static void draw_number(int x, int y, const char *format, int value) {
    char text[NUMBER_TEXT];
    snprintf(text, sizeof text, format, value);
    draw_text(x, y, screen, text);
}

static void draw_scores(void) {
    int two = player_count == 2;
    draw_image(HEADING_X, HEADING_Y,
               two ? assets.twoplayerscore_header : assets.oneplayerscore_header, screen);
    set_font(assets.font1);
    draw_number(SCORE_X, SCORE1_Y, "%6i", players[0].score);
    if (two)
        draw_number(SCORE_X, SCORE2_Y, "%6i", players[1].score);
}

static void draw_timer(void) {
    int width = table.time_left / 10;
    // A time below zero or above the start must not turn into a huge or
    // negative rectangle once stored in the blit's 16-bit fields.
    if (width < 0)
        width = 0;
    if (width > assets.timer_image->w)
        width = assets.timer_image->w;
    SDL_Rect part = {0, 0, (Uint16)width, TIMER_H};
    SDL_Rect at = {TIMER_X, TIMER_Y, 0, 0};
    if (width > 0)
        SDL_UpperBlit(assets.timer_image, &part, screen, &at);
}

static void draw_counters(void) {
    draw_number(BONUS_X, BONUS_Y, "%4i", table.pair_bonus);
    draw_number(EQUAL_X, PAIRS_Y, "%2i", table.equal_pairs);
    draw_number(ADJACENT_X, PAIRS_Y, "%2i", table.adjacent_pairs);
    draw_number(STOCK_COUNT_X, STOCK_COUNT_Y, "%2i", table.stock_count);
}

// Banners are centred on the table area, right of the score panel.
static int banner_x(SDL_Surface *image) { return BANNER_MIDDLE_X - image->w / 2; }

static void draw_centred(SDL_Surface *image) {
    draw_image(banner_x(image), BANNER_MIDDLE_Y - image->h / 2, image, screen);
}

// A player's label resting on the line y = 120, with a banner under it.
static void draw_labelled(SDL_Surface *label, SDL_Surface *banner, int banner_y) {
    draw_image(banner_x(label), BANNER_MIDDLE_Y - label->h, label, screen);
    draw_image(banner_x(banner), banner_y, banner, screen);
}

static void draw_game_over(void) {
    draw_text(TABLE_NO_X, TABLE_NO_Y, screen, "-");
    int p0 = players[0].score, p1 = players[1].score;
    if (player_count == 2 && p0 != p1)
        draw_labelled(p0 > p1 ? assets.player1 : assets.player2, assets.winner,
                      BANNER_MIDDLE_Y + WINNER_GAP);
    else
        draw_centred(assets.gameover);
}

static void draw_banner(int overlay) {
    if (overlay == OVERLAY_GAMEOVER) {
        draw_game_over();
        return;
    }
    draw_number(TABLE_NO_X, TABLE_NO_Y, "%1i", table_number);
    if (overlay == OVERLAY_READY && player_count == 2)
        draw_labelled(current_player == 0 ? assets.player1 : assets.player2, assets.ready,
                      BANNER_MIDDLE_Y);
    else if (overlay == OVERLAY_READY)
        draw_centred(assets.ready);
    else if (overlay == OVERLAY_CLEARED)
        draw_centred(assets.tablecleared);
    else if (overlay == OVERLAY_TIMESUP)
        draw_centred(assets.timesup);
}

void draw_table(int overlay) {
    draw_image(0, 0, assets.background, screen);
    draw_cards();
    draw_stock();
    draw_flights();
    draw_takescore();
    draw_scores();
    draw_timer();
    draw_counters();
    draw_banner(overlay);
    draw_volume_overlay(screen, assets.font3);
    if (plat_flip() == -1)
        fatal_error("Error in SDL_Flip");
}
