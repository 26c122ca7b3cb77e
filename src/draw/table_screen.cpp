// The table screen: one whole frame of a running table, redrawn from the
// background up and presented.
#include "draw/table_screen.h"
#include <stdio.h>
#include "draw/overlay.h"
#include "draw/sprites.h"
#include "platform/assets.h"
#include "platform/platform.h"
#include "rules/game_state.h"
#include "rules/table_state.h"

namespace {

enum {
    VALUE_DX = 8, VALUE_DY = 3,
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

int shown_in_flight(int s) {
    return (table.moving_active && table.moving_slot == s) || (table.moving2_active && table.moving2_slot == s);
}

// The value's 20 x 20 cell of the strip, cut at load when it could be.
void draw_value(int v, int x, int y) {
    Image *const *cells = sheet_cells(assets.numbers, VALUE_CELLS);
    if (cells) {
        draw_image(x, y, cells[v - 1], screen);
        return;
    }
    ImageRect cell = {VALUE_CELL * (v - 1), 0, VALUE_CELL, VALUE_CELL};
    plat_blit(assets.numbers, &cell, screen, x, y);
}

// The tile of the card in slot s (0..33), or null for no card.
Image *card_tile(int s) {
    int v = table.table_slots[s];
    if (v < 1 || v > 13)
        return nullptr;
    int chosen = s == table.selected_first || s == table.selected_second;
    return chosen ? assets.tile_highlighted : assets.tile_normal;
}

// The mascot holds the stock; two frames show it turning the next card.
Image *stock_picture(void) {
    Image *const phases[] = {assets.gorvel1, assets.gorvel2, assets.gorvel3};
    if (table.table_slots[STOCK_TOP] == 0)
        return assets.gorvel4;
    if (table.stock_turn_phase >= 0 && table.stock_turn_phase <= 2)
        return phases[table.stock_turn_phase];
    return nullptr;
}

}  // namespace

void draw_card(int s, int x, int y) {
    if (s < 0 || s > WASTE_SLOT)
        return;
    if (Image *tile = card_tile(s)) {
        draw_image(x, y, tile, screen);
        draw_value(table.table_slots[s], x + VALUE_DX, y + VALUE_DY);
    }
    if (s == table.cursor_slot)
        draw_image(x + SELECTOR_DX, y + SELECTOR_DY, assets.selector, screen);
}

namespace {

void draw_cards(void) {
    for (int s = 0; s <= WASTE_SLOT; s++) {
        if (shown_in_flight(s))
            continue;
        SlotPos at = slot_position(s);
        draw_card(s, at.x, at.y);
    }
}

void draw_stock(void) {
    draw_image(STOCK_X, STOCK_Y, stock_picture(), screen);
    if (table.cursor_slot == STOCK_TARGET)
        draw_image(STOCK_SELECTOR_X, STOCK_SELECTOR_Y, assets.selector, screen);
}

void draw_flights(void) {
    if (table.moving_active)
        draw_card(table.moving_slot, table.moving_x, table.moving_y);
    if (table.moving2_active)
        draw_card(table.moving2_slot, table.moving2_x, table.moving2_y);
}

void draw_takescore(void) {
    draw_image(TAKESCORE_X, TAKESCORE_Y, assets.button_takescore, screen);
    if (table.takescore_armed)
        draw_image(TAKESCORE_X, TAKESCORE_Y, assets.button_takescore_sure, screen);
    if (table.cursor_slot == TAKESCORE_TARGET)
        draw_image(TAKESCORE_SELECTOR_X, TAKESCORE_SELECTOR_Y, assets.selector, screen);
}

void draw_number(int x, int y, const char *format, int value) {
    char text[NUMBER_TEXT];
    snprintf(text, sizeof text, format, value);
    draw_text(x, y, screen, text);
}

void draw_scores(void) {
    int two = player_count == 2;
    draw_image(HEADING_X, HEADING_Y,
               two ? assets.twoplayerscore_header : assets.oneplayerscore_header, screen);
    set_font(assets.font1);
    draw_number(SCORE_X, SCORE1_Y, "%6i", players[0].score);
    if (two)
        draw_number(SCORE_X, SCORE2_Y, "%6i", players[1].score);
}

void draw_timer(void) {
    int width = table.time_left / 10;
    // A time below zero or above the start must not turn into a huge or
    // negative rectangle once stored in the blit's 16-bit fields.
    if (width < 0)
        width = 0;
    if (width > image_width(assets.timer_image))
        width = image_width(assets.timer_image);
    ImageRect part = {0, 0, width, TIMER_H};
    if (width > 0)
        plat_blit(assets.timer_image, &part, screen, TIMER_X, TIMER_Y);
}

void draw_counters(void) {
    draw_number(BONUS_X, BONUS_Y, "%4i", table.pair_bonus);
    draw_number(EQUAL_X, PAIRS_Y, "%2i", table.equal_pairs);
    draw_number(ADJACENT_X, PAIRS_Y, "%2i", table.adjacent_pairs);
    draw_number(STOCK_COUNT_X, STOCK_COUNT_Y, "%2i", table.stock_count);
}

// Banners are centred on the table area, right of the score panel.
int banner_x(Image *image) { return BANNER_MIDDLE_X - image_width(image) / 2; }

void draw_centred(Image *image) { draw_image(banner_x(image), BANNER_MIDDLE_Y - image_height(image) / 2, image, screen); }

// A player's label resting on the line y = 120, with a banner under it.
void draw_labelled(Image *label, Image *banner, int banner_y) {
    draw_image(banner_x(label), BANNER_MIDDLE_Y - image_height(label), label, screen);
    draw_image(banner_x(banner), banner_y, banner, screen);
}

void draw_game_over(void) {
    draw_text(TABLE_NO_X, TABLE_NO_Y, screen, "-");
    int p0 = players[0].score, p1 = players[1].score;
    if (player_count == 2 && p0 != p1)
        draw_labelled(p0 > p1 ? assets.player1 : assets.player2, assets.winner,
                      BANNER_MIDDLE_Y + WINNER_GAP);
    else
        draw_centred(assets.gameover);
}

void draw_banner(int overlay) {
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

}  // namespace

int table_target_at(int x, int y) {
    // From the top of the drawing down; lower rows lie over the rows above.
    if (image_covers(assets.button_takescore, TAKESCORE_X, TAKESCORE_Y, x, y))
        return TAKESCORE_TARGET;
    if (image_covers(stock_picture(), STOCK_X, STOCK_Y, x, y))
        return STOCK_TARGET;
    for (int s = WASTE_SLOT; s >= 0; s--) {
        SlotPos at = slot_position(s);
        if (!shown_in_flight(s) && image_covers(card_tile(s), at.x, at.y, x, y))
            return s;
    }
    return NO_SLOT;
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
    present_frame(REFUSAL_FATAL);
}
