// Input latches: taps, auto-repeat of held directions, the shared hold of
// several directions, face buttons, START and the volume keys, driven by
// scripted pad events on the virtual clock.
#include <vector>
#include <gtest/gtest.h>
#include "harness.h"
#include "input/input.h"
#include "input/pad.h"
#include "input/sound.h"
#include "shell/platform.h"

typedef std::vector<Uint32> Times;

struct Trace {
    Times left, right, up, down, action, volume_steps;
    std::vector<int> volumes;
};

static void note(int &latch, Times &times, Uint32 now) {
    if (latch) {
        times.push_back(now);
        latch = 0;
    }
}

// Polls every `step` ms until `until`, noting when each latch is found set
// and consuming it as a screen would, and when the volume changed.
static Trace poll_until(Uint32 until, Uint32 step = 10) {
    Trace t;
    int last_volume = get_volume(), last_muted = muted;
    while ((Sint32)(until - now_ms()) > 0) {
        poll_input();
        Uint32 now = now_ms();
        note(press_left, t.left, now);
        note(press_right, t.right, now);
        note(press_up, t.up, now);
        note(press_down, t.down, now);
        note(press_action, t.action, now);
        if (get_volume() != last_volume || muted != last_muted) {
            t.volume_steps.push_back(now);
            t.volumes.push_back(get_volume());
            last_volume = get_volume();
            last_muted = muted;
        }
        plat_advance(step - PLAT_POLL_MS);  // the poll itself took 1 ms
    }
    return t;
}

// Times relative to the first one.
static Times gaps_from_first(const Times &times) {
    Times out;
    for (Uint32 t : times)
        out.push_back(t - times[0]);
    return out;
}

static void hold(Uint32 at, int button) { button_event(at, button, 1); }
static void release(Uint32 at, int button) { button_event(at, button, 0); }

TEST(Latches, ATapGivesOneStepAndAHoldRepeatsAfter350ThenEvery150) {
    harness_start();
    Uint32 p = now_ms() + 20;
    tap_button(p, BTN_RIGHT, 60);
    Trace tap = poll_until(p + 600);
    ASSERT_EQ(tap.right.size(), 1u);
    EXPECT_LT(tap.right[0] - p, 10u);

    p = now_ms() + 20;
    hold(p, BTN_LEFT);
    Trace held = poll_until(p + 900);
    EXPECT_LT(held.left[0] - p, 10u);
    // Polled every 10 ms: the first poll past each deadline.
    EXPECT_EQ(gaps_from_first(held.left), (Times{0, 360, 520, 680, 840}));
    EXPECT_TRUE(held.right.empty() && held.up.empty() && held.down.empty());
}

TEST(Latches, EachDirectionLatchesItsOwnFlag) {
    harness_start();
    const int buttons[] = {BTN_LEFT, BTN_RIGHT, BTN_UP, BTN_DOWN};
    for (int b : buttons) {
        Uint32 p = now_ms() + 5;
        tap_button(p, b, 30);
        Trace t = poll_until(p + 100);
        EXPECT_EQ(t.left.size(), b == BTN_LEFT ? 1u : 0u) << b;
        EXPECT_EQ(t.right.size(), b == BTN_RIGHT ? 1u : 0u) << b;
        EXPECT_EQ(t.up.size(), b == BTN_UP ? 1u : 0u) << b;
        EXPECT_EQ(t.down.size(), b == BTN_DOWN ? 1u : 0u) << b;
    }
}

TEST(Latches, TwoDirectionsHeldLatchOnlyTheFirstAndTheOtherWaitsForTheDeadline) {
    harness_start();
    Uint32 p = now_ms() + 20;
    hold(p, BTN_UP);
    hold(p, BTN_LEFT);
    release(p + 400, BTN_LEFT);
    Trace t = poll_until(p + 900);
    ASSERT_FALSE(t.left.empty());
    Uint32 first = t.left[0];
    EXPECT_EQ(gaps_from_first(t.left), (Times{0, 360}));
    // UP takes over at the repeat deadline after LEFT's last step, not at once.
    ASSERT_FALSE(t.up.empty());
    EXPECT_EQ(t.up[0] - first, 520u);
    EXPECT_EQ(t.up[1] - first, 680u);
}

TEST(Latches, OfSeveralDirectionsHeldOnlyTheFirstOfLeftRightUpDownLatches) {
    harness_start();
    struct {
        int a, b;
    } pairs[] = {{BTN_RIGHT, BTN_LEFT}, {BTN_UP, BTN_RIGHT}, {BTN_DOWN, BTN_UP}, {BTN_DOWN, BTN_RIGHT}};
    for (auto &pair : pairs) {
        Uint32 p = now_ms() + 5;
        hold(p, pair.a);
        hold(p, pair.b);
        Trace t = poll_until(p + 400);
        Times *latched[] = {&t.left, &t.right, &t.up, &t.down};
        const int order[] = {BTN_LEFT, BTN_RIGHT, BTN_UP, BTN_DOWN};
        int first = -1;
        for (int i = 3; i >= 0; i--)
            if (order[i] == pair.a || order[i] == pair.b)
                first = order[i];
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(latched[i]->size(), order[i] == first ? 2u : 0u) << pair.a << "+" << pair.b;
        release(now_ms(), pair.a);
        release(now_ms(), pair.b);
        poll_until(now_ms() + 50);
    }
}

TEST(Latches, SlidingThroughADiagonalKeepsTheHold) {
    harness_start();
    Uint32 p = now_ms() + 20;
    hold(p, BTN_LEFT);
    hold(p + 100, BTN_UPLEFT);
    release(p + 100, BTN_LEFT);
    hold(p + 200, BTN_UP);
    release(p + 200, BTN_UPLEFT);
    Trace slide = poll_until(p + 600);
    ASSERT_EQ(slide.left.size(), 1u);
    ASSERT_FALSE(slide.up.empty());
    EXPECT_EQ(slide.up[0] - slide.left[0], 360u);
}

TEST(Latches, ANewPressLatchesAtOnceOnlyAfterAPollSawEverythingUpFor9Ms) {
    struct {
        Uint32 poll_step, gap;  // polling interval; release to new press
        size_t steps;           // LEFT steps within 300 ms
    } cases[] = {
        {10, 20, 2},  // a poll saw the pad up long enough: a new press
        {5, 3, 1},    // within the hold-off: one continuous hold
        {5, 30, 2},
        {2, 6, 1},
    };
    harness_start();
    for (auto &c : cases) {
        Uint32 p = now_ms() + 20;
        hold(p, BTN_LEFT);
        release(p + 50, BTN_LEFT);
        hold(p + 50 + c.gap, BTN_LEFT);
        Trace t = poll_until(p + 300, c.poll_step);
        EXPECT_EQ(t.left.size(), c.steps) << "step " << c.poll_step << " gap " << c.gap;
        release(now_ms(), BTN_LEFT);
        poll_until(now_ms() + 50);
    }
}

TEST(Latches, AFaceButtonTappedBetweenPollsActsOnceAndOtherButtonsNever) {
    harness_start();
    const int buttons[] = {BTN_A, BTN_B, BTN_X, BTN_Y, 9, 10, 11, 1, 3, 5, 7};
    for (int b : buttons) {
        int volume_before = get_volume();
        Uint32 p = now_ms() + 3;
        tap_button(p, b, 2);  // down and up between two polls 10 ms apart
        Trace t = poll_until(p + 400);
        int face = b >= BTN_A && b <= BTN_Y;
        EXPECT_EQ(t.action.size(), face ? 1u : 0u) << b;
        EXPECT_TRUE(t.left.empty() && t.right.empty() && t.up.empty() && t.down.empty()) << b;
        EXPECT_EQ(hold_start, 0) << b;
        EXPECT_EQ(get_volume(), volume_before) << b;
        EXPECT_EQ(volume_shown_until, 0u) << b;
    }
}

TEST(Latches, StartFollowsTheButtonEvenWhenNobodyLooks) {
    harness_start();
    Uint32 p = now_ms() + 5;
    hold(p, BTN_START);
    poll_until(p + 100);
    EXPECT_EQ(hold_start, 1);
    poll_until(now_ms() + 300);
    EXPECT_EQ(hold_start, 1);
    release(now_ms() + 5, BTN_START);
    poll_until(now_ms() + 20);
    EXPECT_EQ(hold_start, 0);
    // Consumed while still held: no new press until the button goes down again.
    hold(now_ms() + 5, BTN_START);
    poll_until(now_ms() + 20);
    hold_start = 0;
    poll_until(now_ms() + 100);
    EXPECT_EQ(hold_start, 0);
}

TEST(Latches, AStartTapBetweenTwoPollsIsSeenByTheNextPoll) {
    harness_start();
    Uint32 p = now_ms() + 3;
    tap_button(p, BTN_START, 2);
    plat_advance(10);
    poll_input();
    EXPECT_EQ(hold_start, 1) << "the tap is pending for the screen polling now";
    poll_input();
    EXPECT_EQ(hold_start, 0) << "and released at the poll after";
}

TEST(Latches, VolumeKeysStepEvery50MsAndMuteEvery200Ms) {
    struct {
        int buttons[2];
        std::vector<int> volumes;
        Uint32 interval;
    } cases[] = {
        {{BTN_VOLUP, -1}, {97, 104, 111, 118, 125, 128}, 60},
        {{BTN_VOLDOWN, -1}, {83, 76, 69, 62, 55, 48, 41, 34, 27, 20, 13, 6, 1}, 60},
        {{BTN_VOLUP, BTN_VOLDOWN}, {0, 90, 0, 90}, 210},
    };
    harness_start();
    for (auto &c : cases) {
        set_default_volume();
        Uint32 p = now_ms() + 5;
        for (int b : c.buttons)
            if (b >= 0)
                hold(p, b);
        Trace t = poll_until(p + c.interval * c.volumes.size() - 5);
        EXPECT_EQ(t.volumes, c.volumes);
        for (size_t i = 1; i < t.volume_steps.size(); i++)
            EXPECT_EQ(t.volume_steps[i] - t.volume_steps[i - 1], c.interval) << i;
        EXPECT_EQ(volume_shown_until, t.volume_steps.back() + 2000);
        // Held on: the volume stays at its end.
        poll_until(now_ms() + 400);
        if (c.buttons[1] < 0) {
            EXPECT_EQ(get_volume(), c.volumes.back());
        }
        for (int b : c.buttons)
            if (b >= 0)
                release(now_ms(), b);
        poll_until(now_ms() + 300);
    }
}

TEST(Latches, ResetClearsTheLatchesAndOverlayButNotTheHeldDirection) {
    harness_start();
    Uint32 p = now_ms() + 5;
    hold(p, BTN_DOWN);
    tap_button(p, BTN_A);
    hold(p, BTN_START);
    tap_button(p, BTN_VOLUP);
    plat_advance(p - now_ms());
    poll_input();
    Uint32 latched = now_ms();
    EXPECT_TRUE(press_down && press_action && hold_start);
    EXPECT_NE(volume_shown_until, 0u);
    stock_requested = takescore_requested = 1;
    reset_input();
    EXPECT_FALSE(press_left || press_right || press_up || press_down || press_action || hold_start ||
                 stock_requested || takescore_requested || volume_shown_until);
    // DOWN is still held: it steps again only at its repeat deadline.
    Trace t = poll_until(latched + 400);
    ASSERT_FALSE(t.down.empty());
    EXPECT_GT(t.down[0] - latched, 350u);
    EXPECT_LE(t.down[0] - latched, 360u);
}
