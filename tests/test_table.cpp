// A table on the real screen and the virtual clock: its pixels, what each
// latch does through table_input on every kind of target, choosing and
// pairing cards, the stock, the timings of every animation and banner, and
// whole tables to time-up, take-score and a cleared table.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>
#include "draw/sprites.h"
#include "draw/table_screen.h"
#include "harness.h"
#include "input/input.h"
#include "platform/audio.h"
#include "platform/pad.h"
#include "rules/table_state.h"
#include "screens/animate.h"
#include "screens/table_controls.h"
#include "screens/table_loop.h"

namespace {

// A dealt table of a one-player game's first table, as the loop starts it.
void deal(unsigned seed) {
    harness_start(seed);
    table_number = 1;
    start_table();
}

bool selector_at(int x, int y) { return image_drawn_at(assets.selector, x, y); }

// A card of value v on the given tile: the tile's top rows above the value
// and the value's 20 x 20 cell at (x + 8, y + 3).
bool card_drawn_at(int v, SDL_Surface *tile, int x, int y) {
    return image_drawn_at(tile, x, y, 0, 0, tile->w, 3) && image_drawn_at(assets.numbers, x + 8, y + 3, 20 * (v - 1), 0, 20, 20);
}

// Either tile's top rows at (x, y): some card there.
bool tile_drawn_at(int x, int y) {
    return image_drawn_at(assets.tile_normal, x, y, 0, 0, 36, 3) || image_drawn_at(assets.tile_highlighted, x, y, 0, 0, 36, 3);
}

// True when the text shows in the font at (x, y), glyph by glyph.
bool text_drawn_at(SDL_Surface *font, const std::string &text, int x, int y) {
    int gw = font->w / 95;
    for (size_t i = 0; i < text.size(); i++)
        if (!image_drawn_at(font, x + (int)i * (gw + 1), y, gw * (text[i] - 32), 0, gw, font->h))
            return false;
    return true;
}

// A player's label resting on the line y = 120 with a banner at banner_y.
bool labelled(SDL_Surface *label, SDL_Surface *banner, int banner_y) {
    return image_drawn_at(label, 190 - label->w / 2, 120 - label->h) && image_drawn_at(banner, 190 - banner->w / 2, banner_y);
}

// The sounds that the action starts.
std::set<int> sounds_started;
std::set<int> heard(void (*action)(void)) {
    sounds_started.clear();
    plat_sound_hook = [](int sound) { sounds_started.insert(sound); };
    action();
    plat_sound_hook = nullptr;
    return sounds_started;
}

void choose(int first, int cursor) {
    table.selected_first = first;
    table.cursor_slot = cursor;
}

std::pair<int, int> chosen(void) { return {table.selected_first, table.selected_second}; }
const std::pair<int, int> NONE_CHOSEN = {NO_SLOT, NO_SLOT};

}  // namespace

// The cursor on every kind of target, the timer bar, the scores of one and
// two players and the counters, the stock's pictures, the armed button, the
// chosen cards, and cards in flight that leave their slots empty.
TEST(TableScreen, DrawsWhatTheTableHolds) {
    deal(3);
    table.table_slots[31] = 0;
    struct Cursor { int cursor, x, y; } cursors[] = {
        {30, 175, 150}, {31, 215, 150}, {WASTE_SLOT, 215, 215}, {STOCK_TARGET, 90, 205}, {TAKESCORE_TARGET, 20, 225}};
    for (int cursor : {-1, 30, 31, 33, 53, 54}) {
        table.cursor_slot = cursor;
        draw_table(OVERLAY_NONE);
        for (const Cursor &c : cursors)
            EXPECT_EQ(selector_at(c.x, c.y), c.cursor == cursor) << "cursor " << cursor << ", at " << c.cursor;
    }
    struct Bar { int time_left, width; } bars[] = {{1250, 125}, {1249, 124}, {10, 1}, {9, 0}, {-50, 0}, {2000, 125}};
    for (const Bar &c : bars) {
        table.time_left = c.time_left;
        draw_table(OVERLAY_NONE);
        EXPECT_TRUE(image_drawn_at(assets.timer_image, 125, 2, 0, 0, c.width, 9) &&
                    image_drawn_at(assets.background, 125 + c.width, 2, 125 + c.width, 2, 1, 9)) << c.time_left;
    }
    struct Number { int *field, value; const char *text; int x, y; } numbers[] = {
        {&players[0].score, 1234, "  1234", 1, 41}, {&players[1].score, 98765, " 98765", 1, 67},
        {&table.pair_bonus, 490, " 490", 10, 158}, {&table.equal_pairs, 3, " 3", 39, 125},
        {&table.adjacent_pairs, 12, "12", 10, 125}, {&table.stock_count, 7, " 7", 87, 229}, {&table_number, 2, "2", 297, 0}};
    for (const Number &n : numbers)
        *n.field = n.value;
    for (player_count = 1; player_count <= 2; player_count++) {
        draw_table(OVERLAY_NONE);
        EXPECT_TRUE(image_drawn_at(player_count == 1 ? assets.oneplayerscore_header : assets.twoplayerscore_header, 4, 30));
        for (const Number &n : numbers)
            EXPECT_EQ(text_drawn_at(assets.font1, n.text, n.x, n.y), n.field != &players[1].score || player_count == 2) << n.text;
    }
    // The mascot holds the stock: its picture follows the turn's phase while
    // the stock holds a card, and shows the empty stock whatever the phase.
    SDL_Surface *pictures[] = {assets.gorvel1, assets.gorvel2, assets.gorvel3, assets.gorvel4};
    for (int empty = 0; empty < 2; empty++)
        for (int phase = 0; phase < 3; phase++) {
            table.stock_turn_phase = phase;
            table.table_slots[STOCK_TOP] = empty ? 0 : 5;
            draw_table(OVERLAY_NONE);
            for (int p = 0; p < 4; p++)
                EXPECT_EQ(image_drawn_at(pictures[p], 80, 180), p == (empty ? 3 : phase)) << phase << empty;
        }
    for (int armed = 0; armed < 2; armed++) {
        table.takescore_armed = armed;
        draw_table(OVERLAY_NONE);
        // The cursor below covers the button's lower rows.
        EXPECT_EQ(image_drawn_at(assets.button_takescore_sure, 10, 200, 0, 0, -1, 20), armed == 1);
    }
    // Both choices lit; a card in flight is drawn there, not in its slot.
    int v30 = table.table_slots[30], v33 = table.table_slots[WASTE_SLOT], v29 = table.table_slots[29];
    table.selected_second = 29;
    table.selected_first = table.cursor_slot = table.moving_slot = 30;
    table.moving2_slot = WASTE_SLOT;
    table.moving_active = table.moving2_active = 1;
    table.moving_x = 250, table.moving_y = 190;
    table.moving2_x = 287, table.moving2_y = 170;
    draw_table(OVERLAY_NONE);
    EXPECT_TRUE(card_drawn_at(v30, assets.tile_highlighted, 250, 190) && selector_at(260, 215)) << "flies with the cursor";
    EXPECT_TRUE(card_drawn_at(v33, assets.tile_normal, 287, 170) && card_drawn_at(v29, assets.tile_highlighted, 125, 125));
    EXPECT_FALSE(tile_drawn_at(165, 125) || tile_drawn_at(205, 190) || selector_at(175, 150)) << "slots left empty";
    // No slot, the stock's first and last cells, the stock picture's target.
    for (int s : {-1, 34, 51, 53}) {
        draw_image(0, 0, assets.background, screen);
        table.cursor_slot = s;
        draw_card(s, 100, 60);
        EXPECT_FALSE(tile_drawn_at(100, 60) || selector_at(110, 85)) << s;
    }
}

// Every banner centred, the player's label over the ready banner, the
// winner's label over its banner, game over on a tie or for one player.
TEST(TableScreen, BannersCentredAndTheTwoPlayerLayouts) {
    deal(3);
    SDL_Surface *banners[] = {nullptr, assets.ready, assets.tablecleared, assets.timesup, assets.gameover, nullptr};
    for (int overlay = 0; overlay <= 5; overlay++) {  // 5 is no code and draws no banner
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
        {1, 9000, 0, nullptr}, {2, 5000, 5000, nullptr}, {2, 4000, 5000, assets.player2}, {2, 6000, 5000, assets.player1}};
    for (const Case &c : cases) {
        player_count = c.count;
        players[0].score = c.s0;
        players[1].score = c.s1;
        draw_table(OVERLAY_GAMEOVER);
        EXPECT_TRUE(text_drawn_at(assets.font1, "-", 297, 0)) << "no table number";
        EXPECT_TRUE(c.winner ? labelled(c.winner, assets.winner, 122) : centred(assets.gameover)) << c.s0 << " to " << c.s1;
    }
}

// Each key on each kind of target: the cursor goes where the rules say, the
// key clicks, its latch clears and an armed take-score button is disarmed.
TEST(TableControls, EveryDirectionOnEveryKindOfTarget) {
    struct Case { int *latch; int from, to; } cases[] = {
        {&press_left, 30, 29}, {&press_right, 30, 31}, {&press_up, 30, 30}, {&press_down, 30, WASTE_SLOT},
        {&press_left, WASTE_SLOT, STOCK_TARGET}, {&press_right, WASTE_SLOT, TAKESCORE_TARGET},
        {&press_up, WASTE_SLOT, 31}, {&press_down, WASTE_SLOT, WASTE_SLOT},
        {&press_left, STOCK_TARGET, TAKESCORE_TARGET}, {&press_right, STOCK_TARGET, WASTE_SLOT},
        {&press_up, STOCK_TARGET, 31}, {&press_down, STOCK_TARGET, STOCK_TARGET},
        {&press_left, TAKESCORE_TARGET, WASTE_SLOT}, {&press_right, TAKESCORE_TARGET, STOCK_TARGET},
        {&press_up, TAKESCORE_TARGET, 31}, {&press_down, TAKESCORE_TARGET, TAKESCORE_TARGET},
    };
    deal(11);
    for (const Case &c : cases) {
        table.cursor_slot = c.from;
        table.takescore_armed = *c.latch = 1;
        EXPECT_EQ(heard(table_input), std::set<int>{SOUND_CLICK3}) << c.from;
        EXPECT_EQ(table.cursor_slot, c.to) << c.from;
        EXPECT_EQ(*c.latch + table.takescore_armed, 0) << c.from << ": latch and button cleared";
        EXPECT_TRUE(selector_at(c.to == TAKESCORE_TARGET ? 20 : c.to == STOCK_TARGET ? 90 : slot_position(c.to).x + 10,
                                c.to == TAKESCORE_TARGET ? 225 : c.to == STOCK_TARGET ? 205 : slot_position(c.to).y + 25))
            << "redrawn with the cursor at " << c.to;
    }
    // DOWN with an empty waste goes to the take-score button.
    table.table_slots[WASTE_SLOT] = 0;
    table.cursor_slot = 30;
    press_down = 1;
    table_input();
    EXPECT_EQ(table.cursor_slot, TAKESCORE_TARGET);
}

TEST(TablePairs, ChoosingJudgingAndScoring) {
    // Values p and q put at slots a and b of a fresh deal, a already chosen,
    // then the action pressed with the cursor on b.
    struct Case { const char *what; int a, p, b, q, bonus, points; std::pair<int, int> chosen; int sound; } cases[] = {
        {"equal", 28, 7, 29, 7, 500, 1700, NONE_CHOSEN, SOUND_CLICK2},
        {"neighbours upward", 28, 7, 29, 8, 490, 890, NONE_CHOSEN, SOUND_CLICK2},
        {"king and ace", 28, 13, 29, 1, 0, 400, NONE_CHOSEN, SOUND_CLICK2},
        {"queen and ace refused", 28, 12, 29, 1, 500, 0, NONE_CHOSEN, SOUND_NONO},
        {"any card may be chosen first", NO_SLOT, 0, 3, 7, 500, 0, {3, NO_SLOT}, -1},
        {"chosen again: taken back", 28, 7, 28, 7, 500, 0, NONE_CHOSEN, -1},
        {"a covered choice stays marked", 3, 7, 29, 7, 500, 0, {3, 29}, -1},
        {"the waste with a card", 28, 7, WASTE_SLOT, 6, 500, 900, NONE_CHOSEN, SOUND_CLICK2},
    };
    deal(11);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        deal(11);
        bool taken = c.points > 0;
        players[0].score = 100;
        table.pair_bonus = c.bonus;
        table.idle_ticks = 70;
        if (c.a != NO_SLOT)
            table.table_slots[c.a] = c.p;
        table.table_slots[c.b] = c.q;
        choose(c.a, c.b);
        press_action = 1;
        std::set<int> sounds = heard(table_input);
        EXPECT_EQ(sounds.count(c.sound), (size_t)(c.sound >= 0));
        EXPECT_EQ(sounds.size(), (size_t)(c.sound >= 0) + (c.b == WASTE_SLOT && taken)) << "and the stock's click";
        EXPECT_EQ(players[0].score, 100 + c.points);
        EXPECT_EQ(table.equal_pairs + table.adjacent_pairs, (int)taken);
        EXPECT_EQ(chosen(), c.chosen);
        EXPECT_EQ(table.pair_bonus, taken ? BONUS_START : c.bonus);
        EXPECT_EQ(table.idle_ticks, taken ? 0 : 70);
        EXPECT_TRUE(taken || c.sound < 0 || card_drawn_at(c.q, assets.tile_normal, slot_position(c.b).x, slot_position(c.b).y))
            << "a refused pair is redrawn unmarked";
    }
}

// The stock press puts the waste card into the lowest gap and turns the
// next card; it restarts the bonus, the idle count and the tick phase and
// drops both choices. With no gap or no stock it does nothing.
TEST(TablePairs, StockPressFillsTheLowestGapAndRestarts) {
    deal(11);
    int waste = table.table_slots[WASTE_SLOT], next = table.table_slots[STOCK_TOP];
    table.table_slots[9] = table.table_slots[4] = 0;
    table.selected_first = 31;
    table.selected_second = 32;
    table.pair_bonus = 200;
    table.idle_ticks = 44;
    table.now_ms = 7777;
    table.takescore_armed = 1;
    table.cursor_slot = STOCK_TARGET;
    press_action = 1;
    EXPECT_EQ(heard(table_input), std::set<int>{SOUND_CLICK1});
    EXPECT_EQ(std::make_pair(table.table_slots[4], table.table_slots[WASTE_SLOT]), std::make_pair(waste, next));
    EXPECT_EQ(std::make_pair(table.cursor_slot, table.stock_count), std::make_pair(4, 17));
    EXPECT_EQ(chosen(), NONE_CHOSEN);
    EXPECT_EQ(std::make_pair(table.pair_bonus, table.idle_ticks), std::make_pair(500, 0));
    EXPECT_EQ(std::make_pair(table.last_tick_ms, table.takescore_armed), std::make_pair(7777, 0));
    for (int no_gap = 0; no_gap < 2; no_gap++) {
        table.table_slots[9] = no_gap ? 5 : 0;
        table.table_slots[4] = 5;
        if (!no_gap)
            std::fill(table.table_slots + STOCK_TOP, table.table_slots + SLOT_CELLS, 0);
        int before[SLOT_CELLS];
        std::copy(table.table_slots, table.table_slots + SLOT_CELLS, before);
        stock_requested = 1;
        EXPECT_EQ(heard(table_input), std::set<int>{});
        EXPECT_TRUE(std::equal(before, before + SLOT_CELLS, table.table_slots)) << no_gap;
    }
    // The last stock card used up: the waste stays empty and pairs with nothing.
    table.table_slots[31] = table.table_slots[WASTE_SLOT];
    choose(31, WASTE_SLOT);
    pick_card();
    EXPECT_EQ(table.table_slots[WASTE_SLOT], 0);
    choose(28, WASTE_SLOT);
    pick_card();
    EXPECT_EQ(chosen(), std::make_pair(28, (int)WASTE_SLOT)) << "the empty waste pairs with nothing";
}

namespace {

std::vector<SlotPos> path1, path2;
void record_flight(void) {
    if (table.moving_active)
        path1.push_back({table.moving_x, table.moving_y});
    if (table.moving2_active)
        path2.push_back({table.moving2_x, table.moving2_y});
}

}  // namespace

// The deal puts the cards in slot order; each flies in six steps, a pair in
// ten, each step a frame.
TEST(TableDeal, CardsFlyWhereTheirStepsLead) {
    harness_start(21);
    path1.clear();
    path2.clear();
    plat_frame_hook = record_flight;
    start_table();
    ASSERT_EQ(path1.size(), 33u * 6) << "every card flies in six steps";
    EXPECT_EQ(std::make_pair(path1[5].x, path1[5].y), std::make_pair(73, 16)) << "slot 0";
    EXPECT_EQ(std::make_pair(path1[32 * 6 + 5].x, path1[32 * 6 + 5].y), std::make_pair(241, 130)) << "slot 32, up to 5 pixels short";
    int counts[14] = {};
    for (int s = 0; s < SLOT_CELLS; s++)
        counts[table.table_slots[s]]++;
    EXPECT_EQ(std::count(counts + 1, counts + 14, 4), 13) << "four of each value in all 52 cells";
    path1.clear();
    animate_pair_away(32, WASTE_SLOT);
    ASSERT_EQ(path2.size(), 10u);
    EXPECT_EQ(std::make_pair(path1.back().x, path1.back().y), std::make_pair(5, 5)) << "from slot 32";
    EXPECT_EQ(std::make_pair(path2.back().x, path2.back().y), std::make_pair(5, 0)) << "from the waste";
}

namespace {

// Whole tables: from the first pass of the table loop `setup` may change the
// table, then the script's buttons are pressed 60 ms apart. Every presented
// frame is recorded.
struct Frame {
    uint32_t t;
    char banner;  // R ready, C cleared, T time's up, - none
    int score, phase, flying, time_left;
};
std::vector<Frame> frames;
void (*setup)(void) = nullptr;
std::vector<SDLKey> keys;
size_t pressed = 0;
uint32_t next_due = 0;
bool in_play = false;
long passes = 0;

void record_frame(void) {
    char banner = centred(assets.tablecleared) ? 'C' : centred(assets.timesup) ? 'T' : centred(assets.ready) ? 'R' : '-';
    frames.push_back({now_ms(), banner, players[current_player].score, table.stock_turn_phase, table.moving2_active,
                      table.time_left});
}

// The loop polls only once the table is dealt and its banner gone.
void run_script(void) {
    if (!in_play && table.cursor_slot == FIRST_CURSOR && table.time_left == TABLE_TIME && frames.size() > 1 &&
        frames.back().banner == '-' && frames[frames.size() - 2].banner == 'R') {
        in_play = true;
        passes = plat_idles = 0;
        if (setup)
            setup();
    }
    passes += in_play && !table.table_over;
    if (in_play && pressed < keys.size() && now_ms() >= next_due && !table.table_over) {
        tap_key(now_ms(), keys[pressed++], 20);
        next_due = now_ms() + 60;
    }
}

void play(unsigned seed, void (*first_pass)(void), std::vector<SDLKey> script) {
    harness_start(seed);
    table_number = 1;
    frames.clear();
    setup = first_pass;
    keys = script;
    pressed = 0;
    next_due = 0;
    in_play = false;
    plat_frame_hook = record_frame;
    plat_poll_hook = run_script;
    play_table();
}

// How long the frames showing `banner` last, from the first to the first
// frame after them.
uint32_t shown_for(char banner) {
    auto first = std::find_if(frames.begin(), frames.end(), [&](const Frame &f) { return f.banner == banner; });
    auto after = std::find_if(first, frames.end(), [&](const Frame &f) { return f.banner != banner; });
    return first == frames.end() ? 0 : (after == frames.end() ? frames.back().t + 11 : after->t) - first->t;
}

// The times between the frames at which the score changed.
std::vector<uint32_t> score_steps(void) {
    std::vector<uint32_t> steps;
    uint32_t last = 0;
    for (size_t i = 1; i < frames.size(); i++)
        if (frames[i].score != frames[i - 1].score) {
            if (last)
                steps.push_back(frames[i].t - last);
            last = frames[i].t;
        }
    return steps;
}

// Each of these lasts its time on the clock plus less than one frame.
void expect_lasts(uint32_t ms, uint32_t got, const char *what) {
    EXPECT_TRUE(got >= ms && got < ms + 11) << what << ": " << got << " ms, not " << ms;
}

void only_a_pair_of_sevens(int time_left, int waste) {
    std::fill(table.table_slots, table.table_slots + SLOT_CELLS, 0);
    std::fill(table.table_slots + STOCK_TOP, table.table_slots + STOCK_TOP + 5, 9);
    table.table_slots[28] = table.table_slots[29] = 7;
    table.table_slots[WASTE_SLOT] = waste;
    table.stock_count = 5;
    table.time_left = time_left;
    choose(28, 29);
}

}  // namespace

TEST(TableGame, WithoutInputTheTimeRunsOutAfter1250TicksWithItsBanner) {
    play(5, nullptr, {});
    EXPECT_EQ(table.idle_ticks, TABLE_TIME) << "one idle tick for each of the table's 1250";
    EXPECT_GE(plat_idles, passes - TABLE_TIME) << "every pass without a tick gives the processor away";
    expect_lasts(2000, shown_for('R'), "the ready banner");
    expect_lasts(2000, shown_for('T'), "the time's-up banner");
    EXPECT_EQ(frames.back().banner, 'T') << "nothing after it";
    EXPECT_EQ(players[0].score, 0) << "no bonus after time-up";
    EXPECT_EQ(table_number, 2) << "the turn passes";
}

// A cleared table scores 10000 under its banner for a second, then its time
// 20 ms a step and its stock 250 ms a card under the banner, then pauses two
// seconds without it; no stock card is turned, whatever the waste holds. One
// cleared in the pass of its last tick still earns it.
TEST(TableGame, ClearedTableCountsItsBonusUnderItsBanner) {
    struct Case { int time_left, waste, score, time_steps; } cases[] = {
        {600, 0, 1700 + 10000 + 3000 + 5000, 60}, {600, 3, 1700 + 10000 + 3000 + 5000, 60},
        {1, 0, 1700 + 10000 + 5000, 0},
    };
    for (const Case &c : cases) {
        static const Case *now;
        now = &c;
        play(8, [] { only_a_pair_of_sevens(now->time_left, now->waste); }, {SDLK_SPACE});
        SCOPED_TRACE(c.time_left);
        EXPECT_EQ(players[0].score, c.score);
        EXPECT_EQ(table.table_slots[WASTE_SLOT], c.waste) << "no stock card turned";
        EXPECT_EQ(shown_for('T'), 0u);
        std::vector<uint32_t> steps = score_steps();  // the pair, 10000, the time, the stock
        ASSERT_EQ(steps.size(), 1u + c.time_steps + 5);
        EXPECT_EQ(std::count_if(frames.begin(), frames.end(), [](const Frame &f) { return f.flying; }), 10)
            << "a pair flies ten frames";
        // steps[0] runs from the pair to the prize; the 1000 ms banner
        // comes before the first step of the time or the stock.
        expect_lasts(1000, steps[1], "the cleared banner alone");
        for (int i = 2; i <= c.time_steps + 1; i++)
            expect_lasts(20, steps[i], "a step of the time");
        for (int i = c.time_steps + 2; i < (int)steps.size(); i++)
            expect_lasts(250, steps[i], "a card of the stock");
        EXPECT_GE(shown_for('C'), 1000u + 20 * c.time_steps + 250 * 5) << "the banner through all of it";
        auto last_banner = std::find_if(frames.rbegin(), frames.rend(), [](const Frame &f) { return f.banner == 'C'; });
        expect_lasts(2000, frames.back().t - last_banner->t, "the closing pause");
        EXPECT_EQ(table_number, 2);
    }
}

// Taking the score needs two presses on the button with no move between;
// only the time is counted, without a banner, and the stock is not.
TEST(TableGame, TakingTheScoreCountsOnlyTheTimeWithoutABanner) {
    // A pair with the waste first: the stock turns in two frames of 80 ms.
    play(6, [] {
        table.table_slots[30] = table.table_slots[WASTE_SLOT];
        choose(30, WASTE_SLOT);
    }, {SDLK_SPACE, SDLK_DOWN, SDLK_RIGHT, SDLK_SPACE, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE, SDLK_SPACE});
    EXPECT_EQ(pressed, keys.size()) << "the table ended at the last press";
    auto phase = [](int p) {
        auto first = std::find_if(frames.begin(), frames.end(), [&](const Frame &f) { return f.phase == p; });
        auto after = std::find_if(first, frames.end(), [&](const Frame &f) { return f.phase != p; });
        return after->t - first->t;
    };
    expect_lasts(80, phase(1), "the stock's first frame");
    expect_lasts(80, phase(2), "the stock's second frame");
    std::vector<uint32_t> steps = score_steps();  // from the pair, then the time's
    ASSERT_GT(steps.size(), 100u) << "more than a thousand ticks were left";
    for (size_t i = 1; i < steps.size(); i++)
        expect_lasts(20, steps[i], "a step of the time");
    auto counted = std::find_if(frames.begin(), frames.end(), [](const Frame &f) { return f.score > 1700; });
    int left = (counted - 1)->time_left;
    EXPECT_EQ(players[0].score, 1700 + 50 * ((left + 9) / 10)) << left << " ticks left";
    EXPECT_EQ(shown_for('C') + shown_for('T'), 0u) << "no banner";
    EXPECT_EQ(table.stock_count, 17) << "the stock is not counted";
}
