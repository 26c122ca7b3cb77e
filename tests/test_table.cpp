// A table on the real screen and the virtual clock: what draw_table shows, what each latch and click does through
// table_input on every kind of target, and whole tables with the timings of their flights, banners and counts.
#include <gtest/gtest.h>
#include <algorithm>
#include <set>
#include <tuple>
#include <utility>
#include <vector>
#include "draw/table_screen.h"
#include "harness.h"
#include "input/input.h"
#include "rules/table_state.h"
#include "screens/table_controls.h"
#include "screens/table_loop.h"

namespace {

using Fields = std::vector<std::pair<int32_t *, int>>;
void set(const Fields &fields) {
    for (const auto &f : fields)
        *f.first = f.second;
}

// A card of value v (of any value for 0) on the tile at (x, y).
bool card_at(SDL_Surface *tile, int x, int y, int v = 0) {
    return image_drawn_at(tile, x, y, 0, 0, tile->w, 3) &&
           (!v || image_drawn_at(assets.numbers, x + 8, y + 3, 20 * (v - 1), 0, 20, 20));
}

bool text_at(const char *text, int x, int y) {
    int w = assets.font1->w / 95;
    return !*text || (image_drawn_at(assets.font1, x, y, w * (*text - 32), 0, w, assets.font1->h) &&
                      text_at(text + 1, x + w + 1, y));
}

std::set<int> sounds_started;

bool labelled(SDL_Surface *label, SDL_Surface *banner, int banner_y) {
    return image_drawn_at(label, 190 - label->w / 2, 120 - label->h) &&
           image_drawn_at(banner, 190 - banner->w / 2, banner_y);
}

// Whole tables: once in play `setup` may change the table, then the keys are tapped 60 ms apart. The table is
// sampled at every poll, which follows every frame drawn; only changes are kept.
struct Frame {
    int t, until, banner, score, over, phase, flight, x, y, left, tick;  // banner R C T or -; flight 1 a card, 2 a pair
    auto seen(void) const { return std::tie(banner, score, over, phase, flight, x, y, left); }
};
struct Script {
    void (*setup)(void), (*with_last_key)(void);
    std::vector<SDLKey> keys;
    size_t pressed = 0;
    uint32_t next_key = 0, last_poll = 0, longest = 0;  // in play: the last poll, and the longest time between two
    int first_tick = 0;  // when the clock started, 0 before play
    std::vector<Frame> frames, presented;
    std::vector<int> heard = std::vector<int>(SOUND_COUNT);
} script;

Frame table_now(void) {
    // Banners are only looked for where they can be: around play.
    char banner = script.first_tick && !table.table_over ? '-' : centred(assets.tablecleared) ? 'C'
                  : centred(assets.timesup) ? 'T' : centred(assets.ready) ? 'R' : '-';
    return {(int)now_ms(), (int)now_ms(), banner, players[0].score, table.table_over, table.stock_turn_phase,
            table.moving2_active ? 2 : table.moving_active, table.moving_x, table.moving_y, table.time_left,
            table.last_tick_ms};
}

// The clock starts after the deal and the banner: the first pass sees the tick two seconds ahead of the table.
void run_script(void) {
    Script &s = script;
    if (s.frames.empty() || s.frames.back().seen() != table_now().seen())
        s.frames.push_back(table_now());
    else
        s.frames.back().until = now_ms();
    if (!s.first_tick && table.last_tick_ms - table.now_ms >= 2000) {
        s.last_poll = now_ms();
        s.first_tick = table.last_tick_ms;
        s.setup();
    }
    if (!s.first_tick || table.table_over)
        return;
    s.longest = std::max(s.longest, now_ms() - std::exchange(s.last_poll, now_ms()));
    // A key is pressed between animations, so that it acts in the order given.
    if (s.pressed < s.keys.size() && now_ms() >= s.next_key && !table.moving_active && !table.stock_turn_phase) {
        tap_key(now_ms(), s.keys[s.pressed++], 20);
        s.next_key = now_ms() + 60;
        if (s.pressed == s.keys.size() && s.with_last_key)
            s.with_last_key();
    }
}

std::vector<std::pair<int, int>> flight(const std::vector<Frame> &v, int kind) {
    std::vector<std::pair<int, int>> at;
    for (const Frame &f : v)
        if (f.flight == kind)
            at.push_back({f.x, f.y});
    return at;
}

// How long a value is seen (0 when never): its last frame's last poll comes less than a frame before the end.
int lasting(int Frame::*field, int value) {
    auto is = [&](const Frame &f) { return f.*field == value; };
    auto first = std::find_if(script.frames.begin(), script.frames.end(), is);
    return first == script.frames.end() ? 0 : (std::find_if_not(first, script.frames.end(), is) - 1)->until - first->t;
}

void expect_lasts(int ms, int got, const char *what) {
    EXPECT_TRUE(ms == 0 ? got == 0 : got > ms - 12 && got < ms) << what << ": " << got << " ms, not " << ms;
}

void sevens(int time_left) {
    std::fill(table.table_slots, table.table_slots + SLOT_CELLS, 0);
    std::fill(table.table_slots + STOCK_TOP, table.table_slots + STOCK_TOP + 5, 9);
    set({{&table.table_slots[28], 7}, {&table.table_slots[29], 7}, {&table.stock_count, 5},
         {&table.time_left, time_left}, {&table.selected_first, 28}, {&table.cursor_slot, 29}});
}

}  // namespace

// Each case's fields stay set for the cases after it.
TEST(TableScreen, DrawsWhatTheTableHolds) {
    struct Case { int overlay; Fields fields; bool (*shows)(void); } cases[] = {
        {0, {{&table.time_left, 1249}}, [] { return image_drawn_at(assets.timer_image, 125, 2, 0, 0, 124, 9) &&
                                                     image_drawn_at(assets.background, 249, 2, 249, 2, 1, 9); }},
        {0, {{&table.cursor_slot, STOCK_TARGET}}, [] { return image_drawn_at(assets.selector, 90, 205); }},
        {0, {{&table.cursor_slot, TAKESCORE_TARGET}, {&table.takescore_armed, 1}},  // the cursor covers its lower rows
         [] { return image_drawn_at(assets.selector, 20, 225) &&
                     image_drawn_at(assets.button_takescore_sure, 10, 200, 0, 0, -1, 20); }},
        {0, {{&players[0].score, 1234}, {&players[1].score, 98765}, {&table.pair_bonus, 490}, {&table.equal_pairs, 3},
             {&table.adjacent_pairs, 12}, {&table.stock_count, 7}, {&table_number, 2}},
         [] { return image_drawn_at(assets.oneplayerscore_header, 4, 30) && text_at("  1234", 1, 41) &&
                     !text_at(" 98765", 1, 67) && text_at(" 490", 10, 158) && text_at(" 3", 39, 125) &&
                     text_at("12", 10, 125) && text_at(" 7", 87, 229) && text_at("2", 297, 0); }},
        {0, {{&player_count, 2}}, [] { return image_drawn_at(assets.twoplayerscore_header, 4, 30) && text_at(" 98765", 1, 67); }},
        {0, {{&table.stock_turn_phase, 1}}, [] { return image_drawn_at(assets.gorvel2, 80, 180); }},
        {0, {{&table.stock_turn_phase, 2}}, [] { return image_drawn_at(assets.gorvel3, 80, 180); }},
        {0, {{&table.table_slots[STOCK_TOP], 0}}, [] { return image_drawn_at(assets.gorvel4, 80, 180); }},
        {0, {{&table.stock_turn_phase, 0}, {&table.table_slots[STOCK_TOP], 5}}, [] { return image_drawn_at(assets.gorvel1, 80, 180); }},
        // Both choices lit; a card in flight takes the cursor and leaves its slot empty.
        {0, {{&table.table_slots[30], 7}, {&table.table_slots[29], 9}, {&table.table_slots[WASTE_SLOT], 1},
             {&table.selected_first, 30}, {&table.selected_second, 29}, {&table.cursor_slot, 30},
             {&table.moving_active, 1}, {&table.moving_slot, 30}, {&table.moving_x, 250}, {&table.moving_y, 190},
             {&table.moving2_active, 1}, {&table.moving2_slot, WASTE_SLOT}, {&table.moving2_x, 287}, {&table.moving2_y, 170}},
         [] { return card_at(assets.tile_highlighted, 250, 190, 7) && image_drawn_at(assets.selector, 260, 215) &&
                     card_at(assets.tile_normal, 287, 170, 1) && card_at(assets.tile_highlighted, 125, 125, 9) &&
                     !card_at(assets.tile_highlighted, 165, 125) && !card_at(assets.tile_normal, 205, 190) &&
                     !image_drawn_at(assets.selector, 175, 150); }},
        {OVERLAY_READY, {{&current_player, 1}}, [] { return labelled(assets.player2, assets.ready, 120); }},
        {OVERLAY_GAMEOVER, {{&players[0].score, 4000}, {&players[1].score, 5000}},
         [] { return labelled(assets.player2, assets.winner, 122) && text_at("-", 297, 0); }},
        {OVERLAY_GAMEOVER, {{&players[0].score, 6000}}, [] { return labelled(assets.player1, assets.winner, 122); }},
        {OVERLAY_GAMEOVER, {{&players[0].score, 5000}}, [] { return centred(assets.gameover); }},
        {OVERLAY_GAMEOVER, {{&player_count, 1}, {&players[0].score, 9000}}, [] { return centred(assets.gameover); }},
    };
    harness_start(3);
    start_table();
    for (const Case &c : cases) {
        set(c.fields);
        draw_table(c.overlay);
        EXPECT_TRUE(c.shows()) << "case " << &c - cases;
    }
}

// One press on a fresh deal, take-score armed, the bonus at 200 after 44 idle ticks: a latch, or a click on what
// acts, which moves the cursor there and presses; one on a covered card or the felt, or let go elsewhere, does nothing.
TEST(TableControls, EachLatchAndClickOnEachKindOfTarget) {
    const int W = WASTE_SLOT, S = STOCK_TARGET, T = TAKESCORE_TARGET, N = NO_SLOT;
    int32_t *slot = table.table_slots, *choice = &table.selected_first, *armed = &table.takescore_armed;
    int *click = &pointer_click.pending;
    struct Case { int *latch, cursor, to; PointerClick at = {}; Fields fields = {}; std::set<int> sounds = {SOUND_CLICK3};
                  int first = N, second = N, points = 0, armed = 0, redraws = 1, over = 0; } cases[] = {
        {&press_left, 30, 29}, {&press_right, 30, 31}, {&press_up, 30, 30}, {&press_down, 30, W},
        {&press_action, W, W, {}, {}, {}, W, N, 0, 1},
        {&press_action, 29, 30, {}, {{choice, 28}, {slot + 28, 7}, {slot + 29, 7}}, {SOUND_CLICK2}, N, N, 1400, 1},
        {&press_action, 29, 29, {}, {{choice, 28}, {slot + 28, 12}, {slot + 29, 1}}, {SOUND_NONO}, N, N, 0, 1},
        // The stock fills a gap, but not without a gap or a stock card.
        {&press_action, S, 28, {}, {{slot + 28, 0}, {choice, 31}, {&table.selected_second, 32}}, {SOUND_CLICK1}},
        {&press_action, S, S, {}, {}, {}, N, N, 0, 0, 0}, {&press_action, T, T, {}, {{armed, 0}}, {}, N, N, 0, 1, 0},
        {&press_action, S, S, {}, {{slot + 4, 0}, {slot + STOCK_TOP, 0}}, {}, N, N, 0, 0, 0},
        {click, 30, 29, {1, 130, 168, 126, 125}, {}, {SOUND_CLICK3}, 29},  // the card in slot 29, corner to corner
        {click, 30, 30, {1, 170, 140, 170, 140}, {}, {}, 30, N, 0, 1},  // the cursor's own card: no move, still armed
        {click, 30, 30, {1, 115, 110, 115, 110}, {}, {}, N, N, 0, 1, 0},  // slot 23's strip above the row covering it
        {click, 30, 30, {1, 241, 210, 241, 210}, {}, {}, N, N, 0, 1, 0},  // the felt, a pixel right of the waste card
        {click, 30, 30, {1, 130, 160, 170, 160}, {}, {}, N, N, 0, 1, 0},  // from slot 29 to slot 30
        {click, 30, T, {1, 20, 210, 61, 229}, {{armed, 0}}, {SOUND_CLICK3}, N, N, 0, 1},  // the take-score button arms
        {click, T, T, {1, 20, 210, 20, 210}, {}, {}, N, N, 0, 0, 0, 1},  // and ends the table
        {click, 30, S, {1, 81, 181, 143, 227}, {}, {SOUND_CLICK3}},  // the stock: no gap yet, so no turn
        {click, 30, W, {1, 240, 235, 240, 235}, {}, {SOUND_CLICK3}, W},  // the waste card
    };
    harness_start(11);
    start_table();
    const TableState fresh = table;
    plat_sound_hook = [](int sound) { sounds_started.insert(sound); };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        table = fresh;
        set({{&table.cursor_slot, c.cursor}, {&table.takescore_armed, 1}, {&table.pair_bonus, 200},
             {&table.idle_ticks, 44}, {&table.last_tick_ms, 0}, {&table.now_ms, 7777}, {&players[0].score, 100}});
        set(c.fields);
        draw_table(OVERLAY_READY);  // until the press draws a frame
        pointer_click = c.at;
        *c.latch = 1;
        sounds_started.clear();
        table_input();
        bool turned = sounds_started.count(SOUND_CLICK1), restarted = turned || c.points;
        EXPECT_EQ(std::make_tuple(sounds_started, table.cursor_slot, table.selected_first, table.selected_second,
                                  players[0].score, table.takescore_armed, table.table_over, *c.latch + press_action,
                                  table.stock_count, table.table_slots[WASTE_SLOT], !centred(assets.ready)),
                  std::make_tuple(c.sounds, c.to, c.first, c.second, 100 + c.points, c.armed, c.over, 0,
                                  FULL_STOCK - turned, fresh.table_slots[turned ? STOCK_TOP : WASTE_SLOT], !!c.redraws));
        EXPECT_EQ(std::make_tuple(table.pair_bonus, table.idle_ticks, table.last_tick_ms),
                  restarted ? std::make_tuple(500, 0, 7777) : std::make_tuple(200, 44, 0));
    }
}

// The flights in frames, the banners, the stock's turn and the bonus count's steps in ms, and the pace: the handheld
// presents every frame drawn and never sleeps; the desktop presents at most a frame every 16 ms, yet each animation's
// last frame, and wakes at most 150 times a second in play (nearly all of a table left to time out).
TEST(TableGame, WholeTablesOnTheClock) {
    struct Case { const char *what; void (*setup)(void); std::vector<SDLKey> keys; int score, timed_out, pairs, turns,
                  cleared, time_steps, moves; void (*with_last_key)(void) = nullptr; } cases[] = {
        // The first pass comes 3 ms late: the loop's sleeps must still meet each tick on time.
        {"no input: the time runs out", [] { plat_advance(3); }, {}, 0, 1, 0, 0, 0, 0, 0},
        {"cleared with 600 ticks left", [] { sevens(600); }, {SDLK_SPACE}, 1700 + 10000 + 3000 + 5000, 0, 1, 0, 1, 60, 0},
        {"cleared in its last tick", [] { sevens(1); }, {SDLK_SPACE}, 1700 + 10000 + 5000, 0, 1, 0, 1, 0, 0},
        // The waste pairs, then two presses on the button take the score; about 598 ticks count in 60 steps.
        {"taken", [] { set({{&table.table_slots[30], table.table_slots[WASTE_SLOT]}, {&table.selected_first, 30},
                            {&table.cursor_slot, WASTE_SLOT}, {&table.time_left, 598}}); },
         {SDLK_SPACE, SDLK_DOWN, SDLK_RIGHT, SDLK_SPACE, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE, SDLK_SPACE},
         1700 + 3000, 0, 1, 1, 0, 60, 4},
        // The second press lands in the pass in which the last tick falls due: taken, not timed out.
        {"taken in its last tick", [] { set({{&table.cursor_slot, TAKESCORE_TARGET}, {&table.time_left, 1}}); },
         {SDLK_SPACE, SDLK_SPACE}, 0, 0, 0, 0, 0, 0, 0, [] { table.last_tick_ms = (int)now_ms() - 91; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        harness_start(6);
        table_number = 1;
        script = Script(), script.setup = c.setup, script.with_last_key = c.with_last_key, script.keys = c.keys;
        auto &frames = script.frames, &presented = script.presented;
        plat_frame_hook = [] { script.presented.push_back(table_now()); };
        plat_poll_hook = run_script;
        plat_sound_hook = [](int sound) { script.heard[sound]++; };
        plat_sleeps = 0;
        play_table();
        // chime: a stock card counted; click1: dealt or turned; click2: a pair; click3: a move, a time step counted.
        EXPECT_EQ(std::make_tuple(players[0].score, script.pressed, table_number, script.heard),
                  std::make_tuple(c.score, c.keys.size(), 2,
                                  std::vector<int>{5 * c.cleared, 33 + c.turns, c.pairs, c.time_steps + c.moves, 0, 0}));
        expect_lasts(2000, lasting(&Frame::banner, 'R'), "the ready banner");
        expect_lasts(c.timed_out ? 2000 : 0, lasting(&Frame::banner, 'T'), "the time's-up banner");
        expect_lasts(c.turns ? 80 : 0, lasting(&Frame::phase, 1), "the stock's first frame");
        expect_lasts(c.turns ? 80 : 0, lasting(&Frame::phase, 2), "the stock's second frame");
        expect_lasts(c.pairs * 10 * 10, lasting(&Frame::flight, 2), "a pair's flight");
        int deal = lasting(&Frame::flight, 1);  // six steps of 10 ms a card, and a frame at most between cards
        EXPECT_TRUE(deal >= 33 * 60 && deal < 33 * 70) << "the deal: " << deal << " ms";
        // A card flies from the waste in six steps that stop up to 5 pixels short; a pair to the corner in ten.
        auto dealt = flight(frames, 1), paired = flight(frames, 2);
        EXPECT_EQ(std::make_tuple(dealt.size(), dealt.at(5), dealt.at(197), paired.size()),
                  std::make_tuple(198ul, std::pair(73, 16), std::pair(241, 130), 10ul * c.pairs));
        // The count's steps: between changes of the score after the table, the last with the closing pause.
        std::vector<int> want(c.cleared, 1000), got;
        want.insert(want.end(), c.time_steps, 20);
        want.insert(want.end(), c.cleared * 5, 250);
        for (size_t i = 1; i < frames.size(); i++)
            if (frames[i].over && frames[i].score != frames[i - 1].score) {
                got.push_back(frames[i].t);
                EXPECT_EQ(frames[i].banner, c.cleared ? 'C' : '-') << "a step counted at " << frames[i].t << " ms";
            }
        got.push_back(frames.back().until + 11);  // the end: less than a frame after the last poll
        ASSERT_EQ(got.size(), want.size() + 1);
        for (size_t i = 0; i < want.size(); i++) {
            int ms = want[i] + (i + 1 == want.size()) * 2000, took = got[i + 1] - got[i];
            EXPECT_TRUE(took >= ms && took < ms + 11) << "count step " << i << ": " << took << " ms, not " << ms;
        }
        EXPECT_EQ(frames.back().banner, c.timed_out ? 'T' : '-') << "no banner in the closing pause";
        // Untouched, ticks come 91 ms apart, and a key waits for a poll at most a step (a poll, the handheld's frame).
        auto out = std::find_if(frames.begin(), frames.end(), [](const Frame &f) { return f.left == 0; });
        EXPECT_TRUE(!c.timed_out || out->tick - script.first_tick == TABLE_TIME * 91) << out->tick - script.first_tick;
        EXPECT_TRUE(!c.timed_out || script.longest <= FRAME_STEP_MS + PLAT_POLL_MS + PLAT_FRAME_MS) << script.longest;
        auto shown = flight(presented, 1), shown2 = flight(presented, 2);
        auto phase2 = std::count_if(presented.begin(), presented.end(), [](const Frame &f) { return f.phase == 2; });
        EXPECT_EQ(std::make_tuple(std::count(shown.begin(), shown.end(), std::pair(73, 16)),
                                  std::count(shown.begin(), shown.end(), std::pair(241, 130)),
                                  std::count(shown2.begin(), shown2.end(), std::pair(5, 5)) > 0, phase2 > 0),
                  std::make_tuple(1L, 1L, c.pairs > 0, c.turns > 0)) << "the last frame of each animation";
#ifdef OG_CONSOLE
        EXPECT_EQ(shown.size() + shown2.size(), dealt.size() + paired.size()) << "every step of a flight is presented";
        EXPECT_EQ(plat_sleeps, 0);
#else
        for (size_t i = 1; i < presented.size(); i++)
            ASSERT_GE(presented[i].t - presented[i - 1].t, 16) << "frame " << i;
        EXPECT_TRUE(!c.timed_out || plat_sleeps * 1000.0 / (now_ms() - frames[0].t) <= 150) << "wake-ups a second in play";
#endif
    }
}
