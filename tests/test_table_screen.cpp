// The table screen's pixels for known table states: selector, timer bar,
// score panels, banners, cards in flight.
#include <gtest/gtest.h>
#include <utility>
#include "draw/sprites.h"
#include "draw/table_screen.h"
#include "table_helpers.h"

static bool selector_at(int x, int y) { return image_drawn_at(assets.selector, x, y); }

// A player's label resting on the line y = 120 with a banner at banner_y.
static bool labelled(SDL_Surface *label, SDL_Surface *banner, int banner_y) {
    return image_drawn_at(label, 190 - label->w / 2, 120 - label->h) &&
           image_drawn_at(banner, 190 - banner->w / 2, banner_y);
}

TEST(TableScreen, SelectorAtEveryKindOfTarget) {
    start_dealt(3);
    table.table_slots[31] = 0;
    struct Case { int cursor, x, y; } cases[] = {
        {30, 175, 150}, {31, 215, 150}, {WASTE_SLOT, 215, 215}, {STOCK_TARGET, 90, 205},
        {TAKESCORE_TARGET, 20, 225},
    };
    // The cursor nowhere, then on each target in turn.
    for (int cursor : {-1, 30, 31, 33, 53, 54}) {
        table.cursor_slot = cursor;
        draw_table(OVERLAY_NONE);
        for (const Case &c : cases)
            EXPECT_EQ(selector_at(c.x, c.y), c.cursor == cursor) << "cursor " << cursor << ", at " << c.cursor;
    }
}

TEST(TableScreen, TimerBarIsATenthOfTheTimeLeftWithinItsImage) {
    start_dealt(3);
    struct Case { int time_left, width; } cases[] = {
        {1250, 125}, {1249, 124}, {10, 1}, {9, 0}, {0, 0}, {-50, 0}, {2000, 125}};
    for (const Case &c : cases) {
        table.time_left = c.time_left;
        draw_table(OVERLAY_NONE);
        EXPECT_TRUE(part_drawn_at(assets.timer_image, 0, 0, c.width, 9, 125, 2)) << c.time_left;
        EXPECT_TRUE(part_drawn_at(assets.background, 125 + c.width, 2, 1, 9, 125 + c.width, 2))
            << "background right after the bar, " << c.time_left;
    }
}

TEST(TableScreen, ScorePanelsOfOneAndTwoPlayersAndTheCounters) {
    start_dealt(3);
    struct Number { int *field, value; const char *text; int x, y; } numbers[] = {
        {&players[0].score, 1234, "  1234", 1, 41}, {&players[1].score, 98765, " 98765", 1, 67},
        {&table.pair_bonus, 490, " 490", 10, 158},  {&table.equal_pairs, 3, " 3", 39, 125},
        {&table.adjacent_pairs, 12, "12", 10, 125}, {&table.stock_count, 7, " 7", 87, 229},
        {&table_number, 2, "2", 297, 0},
    };
    for (const Number &n : numbers)
        *n.field = n.value;
    for (player_count = 1; player_count <= 2; player_count++) {
        draw_table(OVERLAY_NONE);
        SDL_Surface *header = player_count == 1 ? assets.oneplayerscore_header : assets.twoplayerscore_header;
        EXPECT_TRUE(image_drawn_at(header, 4, 30)) << player_count;
        for (const Number &n : numbers)
            EXPECT_EQ(text_drawn_at(assets.font1, n.text, n.x, n.y),
                      n.field != &players[1].score || player_count == 2) << n.text;
    }
}

TEST(TableScreen, BannersCentredAndTheTwoPlayerLayouts) {
    start_dealt(3);
    // Indexed by overlay code; 5 is no code and draws no banner.
    SDL_Surface *banners[] = {nullptr, assets.ready, assets.tablecleared, assets.timesup, assets.gameover,
                              nullptr};
    for (int overlay = 0; overlay <= 5; overlay++) {
        draw_table(overlay);
        for (SDL_Surface *b : banners)
            EXPECT_TRUE(!b || centred(b) == (b == banners[overlay])) << overlay;
    }
    player_count = 2;
    for (current_player = 0; current_player < 2; current_player++) {
        draw_table(OVERLAY_READY);
        EXPECT_TRUE(labelled(current_player ? assets.player2 : assets.player1, assets.ready, 120));
    }
    struct Case { int count, s0, s1; SDL_Surface *winner; } cases[] = {
        {1, 9000, 0, nullptr}, {2, 5000, 5000, nullptr}, {2, 4000, 5000, assets.player2},
        {2, 6000, 5000, assets.player1},
    };
    for (const Case &c : cases) {
        player_count = c.count;
        players[0].score = c.s0;
        players[1].score = c.s1;
        draw_table(OVERLAY_GAMEOVER);
        EXPECT_TRUE(text_drawn_at(assets.font1, "-", 297, 0)) << "no table number";
        EXPECT_TRUE(c.winner ? labelled(c.winner, assets.winner, 122) : centred(assets.gameover))
            << c.count << " players, " << c.s0 << " to " << c.s1;
    }
}

TEST(TableScreen, CardsInFlightHideTheirSlotsAndEmptyOrOutsideSlotsDrawNone) {
    start_dealt(3);
    int v30 = table.table_slots[30], v33 = table.table_slots[WASTE_SLOT];
    table.selected_first = table.cursor_slot = table.moving_slot = 30;
    table.moving2_slot = WASTE_SLOT;
    table.moving_active = table.moving2_active = 1;
    table.moving_x = table.moving_y = 100;
    table.moving2_x = table.moving2_y = 140;
    draw_table(OVERLAY_NONE);
    EXPECT_TRUE(card_drawn_at(v30, assets.tile_highlighted, 100, 100) && selector_at(110, 125))
        << "the chosen card flies with the cursor";
    EXPECT_TRUE(card_drawn_at(v33, assets.tile_normal, 140, 140));
    EXPECT_FALSE(tile_drawn_at(165, 125) || tile_drawn_at(205, 190) || selector_at(175, 150))
        << "nothing left at slot 30 and the waste";
    table.moving_active = table.moving2_active = 0;
    draw_table(OVERLAY_NONE);
    EXPECT_TRUE(card_drawn_at(v30, assets.tile_highlighted, 165, 125));
    EXPECT_TRUE(card_drawn_at(v33, assets.tile_normal, 205, 190));
    table.table_slots[WASTE_SLOT] = 0;
    draw_table(OVERLAY_NONE);
    EXPECT_FALSE(tile_drawn_at(205, 190)) << "the empty waste";
    // No slot, the stock's first and last cells, the stock picture's target.
    for (int s : {-1, 34, 51, 53}) {
        draw_image(0, 0, assets.background, screen);
        table.cursor_slot = s;
        draw_card(s, 100, 60);
        EXPECT_FALSE(tile_drawn_at(100, 60) || selector_at(110, 85)) << s;
    }
}
