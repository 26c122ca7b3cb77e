// The controls: keys through the real event queue and pad layer into the
// latches, with auto-repeat, the shared hold of the directions, START, the
// volume keys and mute, focus loss and the closed window; the volume levels
// and the overlay that shows them.
#include <string.h>
#include <sstream>
#include <string>
#include <vector>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include "draw/overlay.h"
#include "harness.h"
#include "input/input.h"
#include "platform/audio.h"
#include "platform/pad.h"

namespace {

// Script keys: the arrows, Space z x c, Return and keypad Enter, + = and
// keypad +, - and keypad -, and two keys the game does not use.
const struct { char name; SDLKey key; } KEYS[] = {
    {'L', SDLK_LEFT}, {'R', SDLK_RIGHT}, {'U', SDLK_UP}, {'D', SDLK_DOWN}, {'_', SDLK_SPACE}, {'z', SDLK_z},
    {'x', SDLK_x}, {'c', SDLK_c}, {'S', SDLK_RETURN}, {'E', SDLK_KP_ENTER}, {'+', SDLK_PLUS}, {'=', SDLK_EQUALS},
    {'p', SDLK_KP_PLUS}, {'-', SDLK_MINUS}, {'m', SDLK_KP_MINUS}, {'k', SDLK_k}, {'e', SDLK_ESCAPE},
};

void script(uint32_t at, char what, char name) {
    if (what == '!') {  // the window loses the keyboard
        SDL_Event lost = {};
        lost.type = lost.active.type = SDL_ACTIVEEVENT;
        lost.active.state = SDL_APPINPUTFOCUS;
        plat_script_event(at, &lost);
    } else if (what == 'Q') {
        close_window(at);
    } else {
        for (auto &k : KEYS)
            if (k.name == name)
                key_event(at, k.key, what == '+');
    }
}

// Scripts "+L0 -L60" (LEFT down now, up 60 ms later; "!t" focus lost, "Qt"
// the window closed), then polls every `step` ms for `ms` ms, consuming the
// latches as a screen would. Returns what each poll found, with its time
// since the start: "L0 L360" for latches, "S0 s300" for START going down
// and up, "97@0" for a new volume level, "X5" for the end requested.
std::string run(const char *events, uint32_t ms, uint32_t step = 10) {
    uint32_t start = now_ms();
    std::istringstream in(events);
    std::string token;
    while (in >> token)
        script(start + (uint32_t)atoi(token.c_str() + (token[0] == '!' || token[0] == 'Q' ? 1 : 2)), token[0],
               token.size() > 1 ? token[1] : 0);
    const struct { int *latch; const char *name; } latches[] = {
        {&press_left, "L"}, {&press_right, "R"}, {&press_up, "U"}, {&press_down, "D"}, {&press_action, "A"},
    };
    std::string trace;
    auto note = [&](const std::string &what, uint32_t t) { trace += (trace.empty() ? "" : " ") + what + std::to_string(t); };
    int level = get_volume(), start_held = hold_start, ending = exit_requested;
    for (uint32_t t = 0; t < ms; t += step) {
        plat_advance(start + t - now_ms());
        poll_input();
        for (auto &l : latches)
            if (*l.latch) {
                note(l.name, t);
                *l.latch = 0;
            }
        if (hold_start != start_held)
            note((start_held = hold_start) ? "S" : "s", t);
        if (get_volume() != level)
            note(std::to_string(level = get_volume()) + "@", t);
        if (exit_requested != ending)
            note((ending = exit_requested) ? "X" : "x", t);
    }
    return trace;
}

struct Script {
    const char *events;
    uint32_t ms, step;
    const char *trace;
};

class Latches : public ::testing::TestWithParam<Script> {};

}  // namespace

TEST_P(Latches, FollowTheScript) {
    harness_start();
    const Script &s = GetParam();
    EXPECT_EQ(run(s.events, s.ms, s.step), s.trace) << s.events << ", polled every " << s.step << " ms";
}

INSTANTIATE_TEST_SUITE_P(
    Input, Latches,
    ::testing::Values(
        // A tap steps once; a hold at once, after 350 ms, then every 150 ms
        // (here the first poll past each deadline).
        Script{"+R0 -R60", 600, 10, "R0"}, Script{"+L0", 900, 10, "L0 L360 L520 L680 L840"},
        Script{"+U0 -U30", 100, 10, "U0"}, Script{"+D0 -D30", 100, 10, "D0"},
        // Of several directions held only the first of LEFT, RIGHT, UP, DOWN
        // latches; another takes over at the next repeat deadline, not at once.
        Script{"+R0 +L0", 400, 10, "L0 L360"}, Script{"+U0 +R0", 400, 10, "R0 R360"},
        Script{"+D0 +U0", 400, 10, "U0 U360"}, Script{"+U0 +L0 -L400", 700, 10, "L0 L360 U520 U680"},
        // A new press latches at once only after a poll saw every direction
        // up for more than 9 ms; otherwise the hold goes on.
        Script{"+L0 -L50 +L70", 400, 10, "L0 L70"}, Script{"+L0 -L50 +L53", 400, 5, "L0 L355"},
        Script{"+L0 -L50 +L80", 400, 5, "L0 L80"}, Script{"+L0 -L50 +L56", 400, 2, "L0 L352"},
        // Every face key acts once, also tapped between two polls; others never.
        Script{"+_3 -_5 +z23 -z25 +x43 -x45 +c63 -c65 +k83 -k85 +e103 -e105", 200, 10, "A10 A30 A50 A70"},
        // START follows the key; a tap between two polls is seen by the next
        // poll and released at the one after; either Enter is START.
        Script{"+S0 -S300", 400, 10, "S0 s300"}, Script{"+S3 -S5", 100, 10, "S10 s20"},
        Script{"+E0 -E50", 100, 10, "S0 s50"}, Script{"+S0 +E10 -S20 -E60", 100, 10, "S0 s60"},
        // Volume keys held step every 50 ms, both together mute and unmute
        // every 200 ms; each of their keys acts, two of one key count once.
        Script{"++0", 400, 10, "97@0 104@60 111@120 118@180 125@240 128@300"},
        Script{"+-0", 200, 10, "83@0 76@60 69@120 62@180"},
        Script{"+=0 -=10 +p100 -p110 +m200 -m210", 300, 10, "97@0 104@100 97@200"},
        Script{"++0 +=20 -+30 -=100", 300, 10, "97@0 104@60"},
        Script{"++0 +-0", 700, 10, "0@0 90@210 0@420 90@630"},
        // Losing the keyboard releases what it held; a closed window ends.
        Script{"+S0 +L0 !100", 800, 10, "L0 S0 s100"}, Script{"Q30", 50, 10, "X30"}));

TEST(Start, ConsumedWhileHeldIsNotPressedAgainUntilItGoesDownAgain) {
    harness_start();
    EXPECT_EQ(run("+S0", 20), "S0");
    hold_start = 0;
    EXPECT_EQ(run("", 100), "");
    EXPECT_EQ(run("-S0 +S10", 30), "S10");
}

TEST(Reset, ClearsTheLatchesButAHeldDirectionStepsOnlyAtItsRepeat) {
    harness_start();
    EXPECT_EQ(run("+D0 +_0 +S0", 10), "D0 A0 S0");
    press_down = press_action = 1;
    stock_requested = takescore_requested = 1;
    volume_shown_until = now_ms() + 2000;
    reset_input();
    EXPECT_EQ(press_left + press_right + press_up + press_down + press_action + hold_start + stock_requested +
                  takescore_requested + (int)volume_shown_until, 0);
    EXPECT_EQ(run("", 400), "D350");
}

// Alt+Enter switches the full screen and is no START; a flood of events
// larger than SDL's queue arrives whole.
TEST(Pad, AltEnterIsNoButtonAndNoEventIsLost) {
    harness_start();
    for (SDLKey key : {SDLK_RETURN, SDLK_KP_ENTER})
        for (SDLMod alt : {KMOD_LALT, KMOD_RALT}) {
            key_event(now_ms(), key, 1, alt);
            key_event(now_ms() + 1, key, 0, alt);
            EXPECT_EQ(run("", 20), "") << key << " " << alt;
        }
    for (int i = 0; i < 150; i++)
        tap_key(now_ms(), SDLK_SPACE, 0);
    int events = 0;
    PadEvent e;
    for (int poll = 0; poll < 10; poll++, plat_advance(1))
        while (pad_next_event(&e))
            events++;
    EXPECT_EQ(events, 300);
}

TEST(Volume, StepsBy7Between1And128AndMuteRemembersTheLevel) {
    harness_start();
    struct { const char *operations; std::vector<int> levels; } cases[] = {  // up, down, mute
        {"uuuuuuumum", {97, 104, 111, 118, 125, 128, 128, 0, 128, 0}},
        {"ddddddddddddmmddu", {83, 76, 69, 62, 55, 48, 41, 34, 27, 20, 13, 6, 0, 6, 1, 1, 8}},
        {"mmmdmu", {0, 90, 0, 83, 0, 90}},
    };
    for (auto &c : cases) {
        set_default_volume();
        std::vector<int> levels;
        for (const char *op = c.operations; *op; op++) {
            (*op == 'u' ? volume_up : *op == 'd' ? volume_down : toggle_mute)();
            levels.push_back(get_volume());
            EXPECT_EQ(Mix_Volume(-1, -1), get_volume()) << "every channel";
        }
        EXPECT_EQ(levels, c.levels) << c.operations;
    }
}

TEST(Overlay, ShowsMuteOrThePercentageCentredAtRow215ForTwoSeconds) {
    harness_start();
    struct { int level; const char *text; } texts[] = {
        {0, "MUTE"}, {1, "VOLUME   0%"}, {90, "VOLUME  70%"}, {125, "VOLUME  97%"}, {127, "VOLUME  99%"},
        {128, "VOLUME 100%"}};
    for (auto &c : texts) {
        char text[OVERLAY_TEXT_SIZE];
        volume_overlay_text(c.level, text);
        EXPECT_STREQ(text, c.text) << c.level;
    }
    SDL_Surface *font = code_font(7, 9);
    EXPECT_EQ(run("++0 -+20", 10), "97@0");
    uint32_t stepped = now_ms();
    struct { uint32_t after; const char *text; } moments[] = {{0, "VOLUME  75%"}, {1999, "VOLUME  75%"}, {2000, ""}};
    for (auto &m : moments) {
        plat_advance(stepped + m.after - now_ms());
        SDL_FillRect(screen, nullptr, 0);
        draw_volume_overlay(screen, font);
        int x;
        EXPECT_EQ(code_text_at(215, &x), m.text) << m.after;
        EXPECT_EQ(x, *m.text ? 116 : -1) << m.after;
        EXPECT_EQ(code_text_at(214), "") << "the text's top row is 215";
    }
    // A new screen hides it at once.
    volume_shown_until = now_ms() + 2000;
    reset_input();
    SDL_FillRect(screen, nullptr, 0);
    draw_volume_overlay(screen, font);
    EXPECT_EQ(code_text_at(215), "");
    SDL_FreeSurface(font);
}
