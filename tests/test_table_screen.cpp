// The table screen's pixels for known table states: cards, selector, stock,
// timer bar, numbers, banners and cards in flight.
#include <gtest/gtest.h>
#include "draw/table_screen.h"
#include "input/input.h"
#include "table_helpers.h"

static void start(unsigned seed = 3) {
    harness_start(seed);
    lay_out_table(seed);
    player_count = 1;
    current_player = 0;
    players[0].score = players[1].score = 0;
}

static bool selector_at(int x, int y) { return image_drawn_at(assets.selector, x, y); }

TEST(TableScreen, SelectorAtEveryKindOfTarget) {
    start();
    table.table_slots[31] = 0;
    struct Case { const char *what; int cursor, x, y; } cases[] = {
        {"bottom-row card", 30, 175, 150},
        {"empty table slot", 31, 215, 150},
        {"waste", 33, 215, 215},
        {"stock picture", STOCK_TARGET, 90, 205},
        {"take-score button", TAKESCORE_TARGET, 20, 225},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        table.cursor_slot = c.cursor;
        draw_table(OVERLAY_NONE);
        for (const Case &other : cases)
            EXPECT_EQ(selector_at(other.x, other.y), other.cursor == c.cursor) << other.what;
    }
    table.cursor_slot = NO_SLOT;
    draw_table(OVERLAY_NONE);
    for (const Case &other : cases)
        EXPECT_FALSE(selector_at(other.x, other.y)) << other.what;
}

TEST(TableScreen, CardsTilesAndTheEmptyWaste) {
    start();
    table.selected_first = 29;
    table.table_slots[28] = 0;
    draw_table(OVERLAY_NONE);
    EXPECT_TRUE(card_drawn_at(table.table_slots[29], assets.tile_highlighted, 125, 125));
    EXPECT_TRUE(card_drawn_at(table.table_slots[30], assets.tile_normal, 165, 125));
    EXPECT_TRUE(card_drawn_at(table.table_slots[33], assets.tile_normal, 205, 190));
    EXPECT_TRUE(card_drawn_at(table.table_slots[0], assets.tile_normal, 70, 15));
    EXPECT_FALSE(part_drawn_at(assets.tile_normal, 0, 0, 36, 3, 85, 125)) << "emptied slot 28";

    table.table_slots[WASTE_SLOT] = 0;
    draw_table(OVERLAY_NONE);
    EXPECT_FALSE(part_drawn_at(assets.tile_normal, 0, 0, 36, 3, 205, 190));
}

TEST(TableScreen, StockPictureFollowsPhaseAndEmptyStock) {
    start();
    struct Case { int phase, stock_top; SDL_Surface *picture; } cases[] = {
        {0, 5, assets.gorvel[0]}, {1, 5, assets.gorvel[1]}, {2, 5, assets.gorvel[2]},
        {0, 0, assets.gorvel[3]}, {2, 0, assets.gorvel[3]}, {3, 5, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "phase " << c.phase << " top " << c.stock_top);
        table.stock_turn_phase = c.phase;
        table.table_slots[STOCK_TOP] = c.stock_top;
        draw_table(OVERLAY_NONE);
        for (SDL_Surface *g : assets.gorvel) {
            EXPECT_EQ(image_drawn_at(g, 80, 180), g == c.picture);
        }
    }
}

TEST(TableScreen, TimerBarWidth) {
    start();
    struct Case { int time_left, width; } cases[] = {
        {1250, 125}, {1249, 124}, {10, 1}, {9, 0}, {0, 0}, {-5, 0}, {2000, 125},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.time_left);
        table.time_left = c.time_left;
        draw_table(OVERLAY_NONE);
        if (c.width > 0) {
            EXPECT_TRUE(part_drawn_at(assets.timer_image, 0, 0, c.width, 9, 125, 2));
        }
        for (int y = 2; y < 11; y++)
            EXPECT_EQ(pixel_at(125 + c.width, y), image_pixel(assets.background, 125 + c.width, y))
                << "first pixel after the bar, row " << y;
    }
}

TEST(TableScreen, NumbersOfOneAndTwoPlayers) {
    start();
    players[0].score = 1234;
    players[1].score = 98765;
    table.pair_bonus = 490;
    table.equal_pairs = 3;
    table.adjacent_pairs = 12;
    table.stock_count = 7;
    table_number = 2;
    draw_table(OVERLAY_NONE);
    SDL_Surface *f = assets.font1;
    EXPECT_TRUE(image_drawn_at(assets.oneplayerscore_header, 4, 30));
    EXPECT_TRUE(text_drawn_at(f, "  1234", 1, 41));
    EXPECT_FALSE(text_drawn_at(f, " 98765", 1, 67));
    EXPECT_TRUE(text_drawn_at(f, " 490", 10, 158));
    EXPECT_TRUE(text_drawn_at(f, " 3", 39, 125));
    EXPECT_TRUE(text_drawn_at(f, "12", 10, 125));
    EXPECT_TRUE(text_drawn_at(f, " 7", 87, 229));
    EXPECT_TRUE(text_drawn_at(f, "2", 297, 0));

    player_count = 2;
    draw_table(OVERLAY_NONE);
    EXPECT_TRUE(image_drawn_at(assets.twoplayerscore_header, 4, 30));
    EXPECT_TRUE(text_drawn_at(f, "  1234", 1, 41));
    EXPECT_TRUE(text_drawn_at(f, " 98765", 1, 67));

    // The format widens rather than cuts a seventh digit.
    players[0].score = 1234567;
    draw_table(OVERLAY_NONE);
    EXPECT_TRUE(text_drawn_at(f, "1234567", 1, 41));
    EXPECT_EQ(current_font.image, assets.font1);
}

TEST(TableScreen, VolumeOverlayDrawsLastInFont3) {
    start();
    volume_shown_until = now_ms() + 2000;
    draw_table(OVERLAY_NONE);
    EXPECT_EQ(current_font.image, assets.font3);
}

TEST(TableScreen, TakeScoreButtonArmed) {
    start();
    draw_table(OVERLAY_NONE);
    EXPECT_TRUE(image_drawn_at(assets.button_takescore, 10, 200));
    table.takescore_armed = 1;
    draw_table(OVERLAY_NONE);
    EXPECT_TRUE(image_drawn_at(assets.button_takescore_sure, 10, 200));
}

static void expect_centred(SDL_Surface *image) {
    EXPECT_TRUE(image_drawn_at(image, 190 - image->w / 2, 120 - image->h / 2));
}

TEST(TableScreen, CentredBanners) {
    start();
    struct Case { int overlay; SDL_Surface *banner; } cases[] = {
        {OVERLAY_READY, assets.ready},
        {OVERLAY_CLEARED, assets.tablecleared},
        {OVERLAY_TIMESUP, assets.timesup},
        {OVERLAY_GAMEOVER, assets.gameover},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.overlay);
        draw_table(c.overlay);
        expect_centred(c.banner);
    }
    draw_table(7);  // unknown codes draw like no banner
    EXPECT_FALSE(image_drawn_at(assets.ready, 190 - assets.ready->w / 2, 120 - assets.ready->h / 2));
}

TEST(TableScreen, TwoPlayerReadyLabelsTheCurrentPlayer) {
    start();
    player_count = 2;
    for (int p = 0; p < 2; p++) {
        SCOPED_TRACE(p);
        current_player = p;
        draw_table(OVERLAY_READY);
        SDL_Surface *label = p == 0 ? assets.player1 : assets.player2;
        EXPECT_TRUE(image_drawn_at(assets.ready, 190 - assets.ready->w / 2, 120));
        EXPECT_TRUE(image_drawn_at(label, 190 - label->w / 2, 120 - label->h));
        if (p == 1)
            save_screen("/tmp/table/ready_two_players.png");
    }
}

TEST(TableScreen, GameOverAndWinner) {
    start();
    struct Case { int count, s0, s1; SDL_Surface *label; } cases[] = {
        {1, 9000, 0, nullptr},
        {2, 5000, 5000, nullptr},
        {2, 4000, 5000, assets.player2},
        {2, 6000, 5000, assets.player1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " players " << c.s0 << " " << c.s1);
        player_count = c.count;
        players[0].score = c.s0;
        players[1].score = c.s1;
        draw_table(OVERLAY_GAMEOVER);
        EXPECT_TRUE(text_drawn_at(assets.font1, "-", 297, 0));
        EXPECT_FALSE(text_drawn_at(assets.font1, "1", 297, 0));
        if (c.label) {
            EXPECT_TRUE(image_drawn_at(c.label, 190 - c.label->w / 2, 120 - c.label->h));
            EXPECT_TRUE(image_drawn_at(assets.winner, 190 - assets.winner->w / 2, 122));
            SDL_Surface *other = c.label == assets.player1 ? assets.player2 : assets.player1;
            EXPECT_FALSE(image_drawn_at(other, 190 - other->w / 2, 120 - other->h));
            save_screen("/tmp/table/winner.png");
        } else {
            expect_centred(assets.gameover);
            EXPECT_FALSE(image_drawn_at(assets.winner, 190 - assets.winner->w / 2, 122));
        }
    }
}

TEST(TableScreen, CardsInFlightHideTheirSlots) {
    start();
    int v30 = table.table_slots[30], v33 = table.table_slots[33];
    table.selected_first = 30;
    table.moving_active = 1;
    table.moving_slot = 30;
    table.moving_x = 100;
    table.moving_y = 60;
    table.moving2_active = 1;
    table.moving2_slot = WASTE_SLOT;
    table.moving2_x = 140;
    table.moving2_y = 70;
    table.cursor_slot = 30;
    draw_table(OVERLAY_NONE);
    EXPECT_TRUE(card_drawn_at(v30, assets.tile_highlighted, 100, 60));
    EXPECT_TRUE(card_drawn_at(v33, assets.tile_normal, 140, 70));
    EXPECT_FALSE(part_drawn_at(assets.tile_normal, 0, 0, 36, 3, 165, 125)) << "slot 30";
    EXPECT_FALSE(part_drawn_at(assets.tile_highlighted, 0, 0, 36, 3, 165, 125)) << "slot 30";
    EXPECT_FALSE(part_drawn_at(assets.tile_normal, 0, 0, 36, 3, 205, 190)) << "waste";
    EXPECT_FALSE(selector_at(175, 150)) << "the cursor goes with its card";
    EXPECT_TRUE(selector_at(110, 85));
    save_screen("/tmp/table/pair_in_flight.png");

    // A finished flight shows the cards back at their slots.
    table.moving_active = table.moving2_active = 0;
    draw_table(OVERLAY_NONE);
    EXPECT_TRUE(card_drawn_at(v30, assets.tile_highlighted, 165, 125));
    EXPECT_TRUE(card_drawn_at(v33, assets.tile_normal, 205, 190));
}

TEST(TableScreen, FailedFlipIsFatal) {
    start();
    EXPECT_EXIT(
        {
            plat_fail_flips = 1;
            draw_table(OVERLAY_NONE);
        },
        testing::ExitedWithCode(1), "Error in SDL_Flip");
}

TEST(TableScreen, Screenshots) {
    start();
    draw_table(OVERLAY_NONE);
    save_screen("/tmp/table/in_play.png");
    table.selected_first = 29;
    table.cursor_slot = 31;
    draw_table(OVERLAY_NONE);
    save_screen("/tmp/table/selection.png");
    draw_table(OVERLAY_READY);
    save_screen("/tmp/table/ready_one_player.png");
    table.time_left = 0;
    draw_table(OVERLAY_TIMESUP);
    save_screen("/tmp/table/time_up.png");
    player_count = 1;
    draw_table(OVERLAY_GAMEOVER);
    save_screen("/tmp/table/game_over.png");
    for (int s = STOCK_TOP; s < SLOT_CELLS; s++)
        table.table_slots[s] = 0;
    table.stock_count = 0;
    table.takescore_armed = 1;
    table.cursor_slot = TAKESCORE_TARGET;
    table.time_left = 400;
    table.pair_bonus = 70;
    draw_table(OVERLAY_NONE);
    save_screen("/tmp/table/armed_empty_stock.png");
}
