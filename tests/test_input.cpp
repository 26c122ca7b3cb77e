// Input latches: taps, auto-repeat of held directions, the shared hold of
// several directions, face buttons, START and the volume keys, driven by
// scripted pad events on the virtual clock.
#include <string.h>
#include <sstream>
#include <string>
#include <gtest/gtest.h>
#include "harness.h"
#include "input/input.h"
#include "platform/pad.h"
#include "platform/audio.h"
#include "platform/platform.h"
#include "platform/seam.h"

// A script's button letters, by button number: the directions anticlockwise
// from UP, the diagonals as on a keyboard (q up-left, z down-left, c
// down-right, e up-right), START, the unused 9 to 11, the face buttons, and
// volume up (V) and down (v).
static const char BUTTONS[] = "UqLzDcReSijkABXYVv";

// Scripts "+L0 -L60" (LEFT down now, up 60 ms later), then polls every `step`
// ms for `ms` ms, consuming the latches as a screen would. Returns what each
// poll found, with its time since the start: "L0 L360" for latches, "S0 s300"
// for START going down and up, "97@0" for a new volume level.
static std::string run(const char *events, Uint32 ms, Uint32 step = 10) {
    Uint32 start = now_ms();
    std::istringstream in(events);
    char sign, button;
    Uint32 at;
    while (in >> sign >> button >> at)
        button_event(start + at, (int)(strchr(BUTTONS, button) - BUTTONS), sign == '+');
    const struct {
        int *latch;
        const char *name;
    } latches[] = {
        {&press_left, "L"}, {&press_right, "R"}, {&press_up, "U"}, {&press_down, "D"}, {&press_action, "A"},
    };
    std::string trace;
    auto note = [&](const std::string &what, Uint32 t) {
        trace += (trace.empty() ? "" : " ") + what + std::to_string(t);
    };
    int level = get_volume(), start_held = hold_start;
    for (Uint32 t = 0; t < ms; t += step) {
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
    }
    return trace;
}

struct Script {
    const char *events;
    Uint32 ms, step;
    const char *trace;
};

class Latches : public ::testing::TestWithParam<Script> {};

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
        // latches; another takes over at the next repeat deadline.
        Script{"+R0 +L0", 400, 10, "L0 L360"}, Script{"+U0 +R0", 400, 10, "R0 R360"},
        Script{"+D0 +U0", 400, 10, "U0 U360"}, Script{"+U0 +L0 -L400", 700, 10, "L0 L360 U520 U680"},
        // Sliding through a diagonal keeps the hold; the diagonals alone latch nothing.
        Script{"+L0 +q100 -L100 +U200 -q200", 600, 10, "L0 U360 U520"},
        Script{"+q0 +z0 +c0 +e0", 400, 10, ""},
        // A new press latches at once only after a poll saw every direction
        // up for 9 ms; otherwise the hold goes on.
        Script{"+L0 -L50 +L70", 400, 10, "L0 L70"}, Script{"+L0 -L50 +L53", 400, 5, "L0 L355"},
        Script{"+L0 -L50 +L80", 400, 5, "L0 L80"}, Script{"+L0 -L50 +L56", 400, 2, "L0 L352"},
        // Face buttons tapped between two polls act once; 9 to 11 never.
        Script{"+A3 -A5 +B23 -B25 +X43 -X45 +Y63 -Y65 +i83 -i85 +j103 -j105 +k123 -k125", 200, 10,
               "A10 A30 A50 A70"},
        // START follows the button; a tap between two polls is seen by the
        // next poll and released at the one after.
        Script{"+S0 -S300", 400, 10, "S0 s300"}, Script{"+S3 -S5", 100, 10, "S10 s20"},
        // Volume keys held step every 50 ms, both together mute and unmute
        // every 200 ms.
        Script{"+V0", 400, 10, "97@0 104@60 111@120 118@180 125@240 128@300"},
        Script{"+v0", 200, 10, "83@0 76@60 69@120 62@180"},
        Script{"+V0 +v0", 700, 10, "0@0 90@210 0@420 90@630"}));

TEST(Start, ConsumedWhileHeldIsNotPressedAgainUntilItGoesDownAgain) {
    harness_start();
    EXPECT_EQ(run("+S0", 20), "S0");
    hold_start = 0;
    EXPECT_EQ(run("", 100), "");
    EXPECT_EQ(run("-S0 +S10", 30), "S10");
}

TEST(Reset, ClearsTheLatchesButAHeldDirectionStepsOnlyAtItsRepeat) {
    harness_start();
    button_event(now_ms(), BTN_DOWN, 1);
    button_event(now_ms(), BTN_A, 1);
    button_event(now_ms(), BTN_START, 1);
    poll_input();
    stock_requested = takescore_requested = 1;
    reset_input();
    EXPECT_EQ(press_left + press_right + press_up + press_down + press_action + hold_start + stock_requested +
                  takescore_requested, 0);
    EXPECT_EQ(run("", 400), "D350");
}
