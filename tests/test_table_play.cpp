// Table play on the real screen and the virtual clock: choosing and pairing
// cards, the table controls, the deal and its flights, and whole tables
// driven by scripted input until time-up, take-score or a cleared table.
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include "draw/table_screen.h"
#include "input/input.h"
#include "input/pad.h"
#include "table/bonus.h"
#include "table/controls.h"
#include "table/pairing.h"
#include "table_helpers.h"

static void start(unsigned seed = 11) {
    harness_start(seed);
    lay_out_table(seed);
    player_count = 1;
    current_player = 0;
    table_number = 1;
    players[0].score = players[1].score = 0;
}

// Sounds started while the mixer is held, so that none ends unseen.
static void listen(void) {
    Mix_HaltChannel(-1);
    SDL_LockAudio();
}

static std::vector<Mix_Chunk *> heard(void) {
    std::vector<Mix_Chunk *> chunks;
    int channels = Mix_AllocateChannels(-1);
    for (int ch = 0; ch < channels; ch++)
        if (Mix_Playing(ch))
            chunks.push_back(Mix_GetChunk(ch));
    SDL_UnlockAudio();
    return chunks;
}

static bool has(const std::vector<Mix_Chunk *> &chunks, Mix_Chunk *c) {
    return std::find(chunks.begin(), chunks.end(), c) != chunks.end();
}

// Puts p in slot a and q in slot b, chooses a and presses on b.
static std::vector<Mix_Chunk *> press_pair(int a, int p, int b, int q) {
    table.table_slots[a] = p;
    table.table_slots[b] = q;
    table.selected_first = a;
    table.cursor_slot = b;
    listen();
    pick_card();
    return heard();
}

TEST(TablePairs, JudgedAndScored) {
    struct Case {
        const char *what;
        int p, q, bonus, points, equal, adjacent;
    } cases[] = {
        {"equal", 7, 7, 500, 1700, 1, 0},
        {"neighbours upward", 7, 8, 500, 900, 0, 1},
        {"neighbours downward", 8, 7, 500, 900, 0, 1},
        {"king and ace", 13, 1, 500, 900, 0, 1},
        {"ace and king", 1, 13, 500, 900, 0, 1},
        {"equal after a long wait", 4, 4, 0, 1200, 1, 0},
        {"neighbours after a long wait", 4, 5, 0, 400, 0, 1},
        {"queen and ace refused", 12, 1, 500, 0, 0, 0},
        {"seven and nine refused", 7, 9, 500, 0, 0, 0},
    };
    start();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        lay_out_table(11);
        players[0].score = 100;
        players[1].score = 50;
        table.pair_bonus = c.bonus;
        table.idle_ticks = 70;
        table.now_ms = 777;
        std::vector<Mix_Chunk *> sounds = press_pair(28, c.p, 29, c.q);
        bool taken = c.points > 0;
        EXPECT_EQ(players[0].score, 100 + c.points);
        EXPECT_EQ(players[1].score, 50);
        EXPECT_EQ(table.equal_pairs, c.equal);
        EXPECT_EQ(table.adjacent_pairs, c.adjacent);
        EXPECT_EQ(table.selected_first, NO_SLOT);
        EXPECT_EQ(table.selected_second, NO_SLOT);
        EXPECT_EQ(table.table_slots[28] == 0 && table.table_slots[29] == 0, taken);
        EXPECT_EQ(has(sounds, assets.click2), taken);
        EXPECT_EQ(has(sounds, assets.nono), !taken);
        if (taken) {
            EXPECT_EQ(table.pair_bonus, 500);
            EXPECT_EQ(table.idle_ticks, 0);
            EXPECT_EQ(table.last_tick_ms, 777);
            EXPECT_EQ(table.cursor_slot, 30) << "on to the next free card rightward";
        } else {
            EXPECT_EQ(table.pair_bonus, c.bonus);
            EXPECT_EQ(table.cursor_slot, 29);
        }
    }
}

TEST(TablePairs, ChoosingTakingBackAndPreconditions) {
    start();
    // A first choice is not tested, even on a covered card.
    table.cursor_slot = 3;
    listen();
    pick_card();
    EXPECT_TRUE(heard().empty());
    EXPECT_EQ(table.selected_first, 3);
    // Choosing it again takes it back, silently.
    listen();
    pick_card();
    EXPECT_TRUE(heard().empty());
    EXPECT_EQ(table.selected_first, NO_SLOT);

    // A covered card refused by the preconditions: both stay marked.
    int before[SLOT_CELLS];
    std::copy(table.table_slots, table.table_slots + SLOT_CELLS, before);
    table.selected_first = 3;
    table.cursor_slot = 29;
    listen();
    pick_card();
    EXPECT_TRUE(heard().empty());
    EXPECT_EQ(table.selected_first, 3);
    EXPECT_EQ(table.selected_second, 29);
    EXPECT_TRUE(std::equal(before, before + SLOT_CELLS, table.table_slots));
    // Another second choice replaces the refused one.
    table.cursor_slot = 30;
    pick_card();
    EXPECT_EQ(table.selected_second, 30);
    // Taking the first back leaves the second marked.
    table.cursor_slot = 3;
    pick_card();
    EXPECT_EQ(table.selected_first, NO_SLOT);
    EXPECT_EQ(table.selected_second, 30);
}

TEST(TablePairs, EmptyWasteAsSecondChoice) {
    start();
    for (int s = WASTE_SLOT; s < SLOT_CELLS; s++)
        table.table_slots[s] = 0;
    table.stock_count = 0;
    table.selected_first = 30;
    table.cursor_slot = WASTE_SLOT;
    Uint32 t = now_ms();
    listen();
    pick_card();
    EXPECT_TRUE(heard().empty());
    EXPECT_EQ(table.selected_first, 30);
    EXPECT_EQ(table.selected_second, WASTE_SLOT);
    EXPECT_GE(now_ms() - t, 160u) << "the empty stock still animates";
}

TEST(TablePairs, WasteRefillAndEmptyStock) {
    start();
    int waste_value = table.table_slots[WASTE_SLOT];
    int next = table.table_slots[STOCK_TOP], after_next = table.table_slots[STOCK_TOP + 1];
    table.table_slots[30] = waste_value;
    table.selected_first = 30;
    table.cursor_slot = WASTE_SLOT;
    listen();
    pick_card();
    std::vector<Mix_Chunk *> sounds = heard();
    EXPECT_TRUE(has(sounds, assets.click2));
    EXPECT_TRUE(has(sounds, assets.click1)) << "the stock card turned";
    EXPECT_EQ(table.table_slots[WASTE_SLOT], next);
    EXPECT_EQ(table.table_slots[STOCK_TOP], after_next);
    EXPECT_EQ(table.stock_count, 17);
    EXPECT_EQ(table.stock_turn_phase, 0);

    // The last stock card used up: the waste stays empty, the mascot shows it.
    for (int s = STOCK_TOP; s < SLOT_CELLS; s++)
        table.table_slots[s] = 0;
    table.stock_count = 0;
    table.table_slots[31] = table.table_slots[WASTE_SLOT];
    table.selected_first = 31;
    table.cursor_slot = WASTE_SLOT;
    pick_card();
    EXPECT_EQ(table.table_slots[WASTE_SLOT], 0);
    EXPECT_EQ(table.stock_count, 0);
    EXPECT_TRUE(image_drawn_at(assets.gorvel[3], 80, 180));
}

TEST(TablePairs, ClearingTheTableTurnsNoStockCard) {
    start();
    for (int s = 0; s < TABLE_SLOTS; s++)
        table.table_slots[s] = 0;
    int stock_top = table.table_slots[STOCK_TOP];
    table.table_slots[30] = table.table_slots[WASTE_SLOT];
    table.selected_first = 30;
    table.cursor_slot = WASTE_SLOT;
    pick_card();
    EXPECT_EQ(table.table_over, 1);
    EXPECT_EQ(table.table_slots[WASTE_SLOT], 0);
    EXPECT_EQ(table.table_slots[STOCK_TOP], stock_top);
    EXPECT_EQ(table.stock_count, 18);
}

// ---- the table controls, latch by latch --------------------------------

static std::vector<Mix_Chunk *> press(int *latch) {
    *latch = 1;
    listen();
    table_input();
    EXPECT_EQ(*latch, 0);
    return heard();
}

TEST(TableControls, DownAndUpBetweenTableAndTargets) {
    start();
    table.takescore_armed = 1;
    EXPECT_TRUE(has(press(&press_down), assets.click3));
    EXPECT_EQ(table.cursor_slot, WASTE_SLOT);
    EXPECT_EQ(table.takescore_armed, 0);
    press(&press_down);
    EXPECT_EQ(table.cursor_slot, WASTE_SLOT) << "already below the table";

    // UP enters one column left of 32: the card above the waste first.
    press(&press_up);
    EXPECT_EQ(table.cursor_slot, 31);
    EXPECT_TRUE(has(press(&press_up), assets.click3));
    EXPECT_EQ(table.cursor_slot, 31) << "UP on the table only clicks";

    table.table_slots[31] = 0;
    table.cursor_slot = STOCK_TARGET;
    press(&press_up);
    EXPECT_EQ(table.cursor_slot, 30) << "column 3 empty and 25 covered by 30";

    table.table_slots[WASTE_SLOT] = 0;
    table.cursor_slot = 30;
    press(&press_down);
    EXPECT_EQ(table.cursor_slot, TAKESCORE_TARGET) << "no waste card";
}

TEST(TableControls, SidewaysBelowTheTableAndOnIt) {
    start();
    table.cursor_slot = WASTE_SLOT;
    int left[] = {STOCK_TARGET, TAKESCORE_TARGET, WASTE_SLOT};
    for (int to : left) {
        table.takescore_armed = 1;
        EXPECT_TRUE(has(press(&press_left), assets.click3));
        EXPECT_EQ(table.cursor_slot, to);
        EXPECT_EQ(table.takescore_armed, 0);
    }
    int right[] = {TAKESCORE_TARGET, STOCK_TARGET, WASTE_SLOT};
    for (int to : right) {
        press(&press_right);
        EXPECT_EQ(table.cursor_slot, to);
    }
    table.cursor_slot = 30;
    press(&press_right);
    EXPECT_EQ(table.cursor_slot, 31);
    press(&press_left);
    press(&press_left);
    EXPECT_EQ(table.cursor_slot, 29);
}

TEST(TableControls, StockPress) {
    start();
    // A full table has no gap: nothing happens, silently.
    table.cursor_slot = STOCK_TARGET;
    table.takescore_armed = 1;
    int before[SLOT_CELLS];
    std::copy(table.table_slots, table.table_slots + SLOT_CELLS, before);
    EXPECT_TRUE(press(&press_action).empty());
    EXPECT_EQ(stock_requested, 0);
    EXPECT_EQ(table.takescore_armed, 0);
    EXPECT_TRUE(std::equal(before, before + SLOT_CELLS, table.table_slots));

    table.table_slots[9] = 0;
    table.table_slots[4] = 0;
    table.selected_first = 30;
    table.selected_second = 31;
    table.pair_bonus = 200;
    table.idle_ticks = 40;
    table.now_ms = 4321;
    int waste = table.table_slots[WASTE_SLOT], next = table.table_slots[STOCK_TOP];
    std::vector<Mix_Chunk *> sounds = press(&press_action);
    EXPECT_TRUE(has(sounds, assets.click1));
    EXPECT_EQ(table.table_slots[4], waste);
    EXPECT_EQ(table.table_slots[9], 0);
    EXPECT_EQ(table.table_slots[WASTE_SLOT], next);
    EXPECT_EQ(table.stock_count, 17);
    EXPECT_EQ(table.cursor_slot, 4);
    EXPECT_EQ(table.selected_first, NO_SLOT);
    EXPECT_EQ(table.selected_second, NO_SLOT);
    EXPECT_EQ(table.pair_bonus, 500);
    EXPECT_EQ(table.idle_ticks, 0);
    EXPECT_EQ(table.last_tick_ms, 4321);

    // An empty stock: nothing moves, even with a gap.
    for (int s = STOCK_TOP; s < SLOT_CELLS; s++)
        table.table_slots[s] = 0;
    table.stock_count = 0;
    table.cursor_slot = STOCK_TARGET;
    std::copy(table.table_slots, table.table_slots + SLOT_CELLS, before);
    EXPECT_TRUE(press(&press_action).empty());
    EXPECT_TRUE(std::equal(before, before + SLOT_CELLS, table.table_slots));
}

TEST(TableControls, TakeScoreNeedsTwoPressesWithoutAMove) {
    start();
    table.cursor_slot = TAKESCORE_TARGET;
    EXPECT_TRUE(press(&press_action).empty());
    EXPECT_EQ(table.takescore_armed, 1);
    EXPECT_EQ(table.table_over, 0);
    press(&press_left);
    press(&press_right);
    EXPECT_EQ(table.cursor_slot, TAKESCORE_TARGET);
    press(&press_action);
    EXPECT_EQ(table.table_over, 0) << "the move disarmed it";
    press(&press_action);
    EXPECT_EQ(table.table_over, 1);
    EXPECT_EQ(table.takescore_armed, 0);
}

// ---- the deal and the flights --------------------------------------------

struct Flight {
    std::vector<SDL_Rect> first, second;
    std::vector<int> phases;
};
static Flight flight;

static void record_flight(void) {
    if (table.moving_active)
        flight.first.push_back({(Sint16)table.moving_x, (Sint16)table.moving_y, 0, 0});
    if (table.moving2_active)
        flight.second.push_back({(Sint16)table.moving2_x, (Sint16)table.moving2_y, 0, 0});
    flight.phases.push_back(table.stock_turn_phase);
}

TEST(TableDeal, FlightsEndWhereTheStepsLead) {
    start();
    plat_frame_hook = record_flight;
    animate_deal_card(0);
    ASSERT_EQ(flight.first.size(), 6u);
    EXPECT_EQ(flight.first[0].x, 183);
    EXPECT_EQ(flight.first[0].y, 161);
    EXPECT_EQ(flight.first[5].x, 73);
    EXPECT_EQ(flight.first[5].y, 16);
    EXPECT_EQ(table.moving_active, 0);
    EXPECT_EQ(table.moving_slot, NO_SLOT);

    flight = Flight();
    animate_pair_away(32, WASTE_SLOT);
    ASSERT_EQ(flight.first.size(), 10u);
    EXPECT_EQ(flight.first[0].x, 221);
    EXPECT_EQ(flight.first[0].y, 113);
    EXPECT_EQ(flight.first[9].x, 5);
    EXPECT_EQ(flight.first[9].y, 5);
    EXPECT_EQ(flight.second[9].x, 205 - 20 * 10);
    EXPECT_EQ(flight.second[9].y, 190 - 19 * 10);
    EXPECT_EQ(table.moving2_active, 0);
    EXPECT_EQ(table.moving2_slot, NO_SLOT);
}

TEST(TableDeal, StockTurnWithAnEmptyStockIsAPause) {
    start();
    for (int s = STOCK_TOP; s < SLOT_CELLS; s++)
        table.table_slots[s] = 0;
    table.stock_count = 0;
    int before[SLOT_CELLS];
    std::copy(table.table_slots, table.table_slots + SLOT_CELLS, before);
    plat_frame_hook = record_flight;
    Uint32 t = now_ms();
    listen();
    turn_stock_card();
    EXPECT_TRUE(heard().empty());
    EXPECT_GE(now_ms() - t, 160u);
    EXPECT_LT(now_ms() - t, 200u);
    EXPECT_TRUE(std::equal(before, before + SLOT_CELLS, table.table_slots));
    EXPECT_EQ(table.stock_count, 0);
    EXPECT_EQ(table.stock_turn_phase, 0);
    EXPECT_NE(std::find(flight.phases.begin(), flight.phases.end(), 1), flight.phases.end());
    EXPECT_NE(std::find(flight.phases.begin(), flight.phases.end(), 2), flight.phases.end());
}

TEST(TableDeal, DealPutsTheDeckInSlotOrder) {
    start(21);
    srand(99);
    int deck[52];
    shuffle_deck(deck);
    srand(99);
    plat_frame_hook = record_flight;
    shuffle_and_deal();
    EXPECT_TRUE(std::equal(deck, deck + 52, table.table_slots));
    EXPECT_EQ(flight.first.size(), 33u * 6);
    EXPECT_EQ(table.selected_first, NO_SLOT);
    EXPECT_EQ(table.moving_active, 0);
}

TEST(TableDeal, ClosedWindowStillDealsTheWholeDeck) {
    start();
    exit_requested = 1;
    plat_frame_hook = record_flight;
    shuffle_and_deal();
    EXPECT_LE(flight.phases.size(), 1u) << "no flight frames";
    int count[14] = {};
    for (int v : table.table_slots) {
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 13);
        count[v]++;
    }
    for (int v = 1; v <= 13; v++)
        EXPECT_EQ(count[v], 4);
}

// ---- whole tables ----------------------------------------------------------

// Watches a table from the poll hook: `dealt_at` is the clock of the ready
// banner, so the loop is running once now_ms has moved past it.
static Sint32 dealt_at = -1;
static int playing(void) {
    if (table.cursor_slot == NO_SLOT)
        dealt_at = -1;
    else if (dealt_at == -1 && table.stock_count == 18 && table.time_left == TABLE_TIME)
        dealt_at = table.now_ms;
    return dealt_at != -1 && table.now_ms != dealt_at && !table.table_over;
}

static int frames_with(SDL_Surface *banner, int on) {
    return on && image_drawn_at(banner, 190 - banner->w / 2, 120 - banner->h / 2);
}

static int timesup_frames = 0;
static void count_timesup_frames(void) {
    if (table.time_left == 0)
        timesup_frames += frames_with(assets.timesup, 1);
}

TEST(TableGame, NoInputRunsOutOfTime) {
    start(5);
    plat_frame_hook = count_timesup_frames;
    Uint32 t = now_ms();
    play_table();
    EXPECT_EQ(table.time_left, 0);
    EXPECT_EQ(table.table_over, 1);
    EXPECT_EQ(players[0].score, 0) << "no bonus after time-up";
    EXPECT_EQ(table_number, 2);
    EXPECT_GE(timesup_frames, 2000 / 11 - 2);
    EXPECT_GE(now_ms() - t, 1250u * 91);
    EXPECT_EQ(table.pair_bonus, 0);
}

// A scripted player: each step waits 60 ms after the previous one.
struct Script {
    std::vector<int> buttons;
    size_t next = 0;
    Uint32 due = 0;
};
static Script script;
static int last_time_left = 0;
static int armed_seen = 0;

static void run_script(void) {
    if (!playing())
        return;
    last_time_left = table.time_left;
    armed_seen |= table.takescore_armed;
    if (script.next >= script.buttons.size() || now_ms() < script.due)
        return;
    tap_button(now_ms(), script.buttons[script.next++], 20);
    script.due = now_ms() + 60;
}

TEST(TableGame, TakingTheScoreCountsTheTimeLeft) {
    start(6);
    player_count = 2;
    current_player = 0;
    script.buttons = {BTN_DOWN, BTN_LEFT, BTN_LEFT, BTN_A, BTN_A};
    plat_poll_hook = run_script;
    play_table();
    EXPECT_EQ(script.next, script.buttons.size());
    EXPECT_TRUE(armed_seen);
    int score = players[0].score;
    EXPECT_TRUE(score == time_bonus_points(last_time_left) ||
                score == time_bonus_points(last_time_left - 1))
        << score << " for time left " << last_time_left;
    EXPECT_GT(score, 6000);
    EXPECT_EQ(players[1].score, 0);
    EXPECT_EQ(table.time_left, 0);
    EXPECT_EQ(table.stock_count, 18) << "the stock is not counted";
    EXPECT_EQ(current_player, 1);
    EXPECT_EQ(table_number, 1);
}

TEST(TableGame, InputDuringTheBannerIsDiscarded) {
    start(7);
    struct Watch {
        static void hook(void) {
            playing();
            int in_banner = dealt_at != -1 && table.now_ms == dealt_at;
            if (in_banner && script.next == 0) {
                tap_button(now_ms(), BTN_RIGHT, 20);
                tap_button(now_ms() + 40, BTN_A, 20);
                script.next = 1;
            }
            if (playing() && now_ms() - (Uint32)dealt_at > 2500) {
                EXPECT_EQ(table.cursor_slot, 30);
                EXPECT_EQ(table.selected_first, NO_SLOT);
                exit_requested = 1;
            }
        }
    };
    plat_poll_hook = Watch::hook;
    play_table();
    EXPECT_EQ(script.next, 1u);
    EXPECT_EQ(table_number, 1) << "a closed window passes no turn";
}

static int score_after_pair = -1;
static SDL_Surface *cleared_shot = nullptr;
static void clear_but_one_pair(void) {
    if (playing() && score_after_pair == -1) {
        for (int s = 0; s < TABLE_SLOTS; s++)
            table.table_slots[s] = 0;
        table.table_slots[28] = table.table_slots[29] = 7;
        for (int s = STOCK_TOP + 5; s < SLOT_CELLS; s++)
            table.table_slots[s] = 0;
        table.stock_count = 5;
        table.time_left = 600;
        table.selected_first = 28;
        table.cursor_slot = 29;
        score_after_pair = 0;
        tap_button(now_ms(), BTN_A, 20);
    }
}

static int cleared_frames = 0;
static void watch_bonus(void) {
    // The pair's own redraw comes before the cleared check ends the table.
    if (!table.table_over) {
        if (score_after_pair != -1)
            score_after_pair = players[0].score;
        return;
    }
    cleared_frames += frames_with(assets.tablecleared, 1);
    if (table.stock_count == 2 && !cleared_shot) {
        save_screen("/tmp/table/cleared_counting.png");
        cleared_shot = screen;
    }
}

TEST(TableGame, ClearedTableWithCardsLeftInTheStock) {
    start(8);
    plat_poll_hook = clear_but_one_pair;
    plat_frame_hook = watch_bonus;
    play_table();
    EXPECT_EQ(score_after_pair, 1700);
    EXPECT_EQ(players[0].score - score_after_pair, 10000 + 3000 + 5000);
    EXPECT_EQ(table.time_left, 0);
    EXPECT_EQ(table.stock_count, 0);
    EXPECT_EQ(table_number, 2);
    // One second of banner, 60 time steps and five stock steps under it.
    EXPECT_GE(cleared_frames, 1000 / 11 + 60 + 5 * (250 / 11));
}

TEST(TableGame, PauseMenuCostsOneTick) {
    start(9);
    struct Pause {
        static void hook(void) {
            static Uint32 start_at = 0;
            static int before = 0;
            if (playing() && script.next == 0) {
                before = table.time_left;
                start_at = now_ms();
                tap_button(start_at, BTN_START, 20);
                tap_button(start_at + 60000, BTN_A, 20);
                script.next = 1;
            }
            if (script.next == 1 && now_ms() > start_at + 60000 + 300) {
                EXPECT_GE(table.time_left, before - 5) << "a minute in the menu";
                EXPECT_LE(table.time_left, before - 1);
                script.next = 2;
                exit_requested = 1;
            }
        }
    };
    plat_poll_hook = Pause::hook;
    play_table();
    EXPECT_EQ(script.next, 2u);
}

TEST(TableGame, NewGameFromThePauseMenuAbandonsTheTable) {
    start(10);
    player_count = 2;
    current_player = 1;
    struct NewGame {
        static void hook(void) {
            if (playing() && script.next == 0) {
                players[1].score = 300;
                new_game_requested = 1;
                script.next = 1;
            }
        }
    };
    plat_poll_hook = NewGame::hook;
    play_table();
    EXPECT_EQ(current_player, 1);
    EXPECT_EQ(table_number, 1);
    EXPECT_EQ(players[1].score, 300) << "no bonus";
}
