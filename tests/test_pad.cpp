// The desktop pad: keys become the console's button events and states, the
// window's close button ends the program, Alt+Enter is not START.
#include <algorithm>
#include <string>
#include <gtest/gtest.h>
#include "harness.h"
#include "platform/pad.h"
#include "rules/game_state.h"
#include "game/game_flow.h"
#include "platform/platform.h"
#include "platform/seam.h"

// Lets the scripted events become due, then takes every pad event: "+8 -8"
// is START down, then up; "quit" the window closed.
static std::string pad_events(Uint32 ms = 5) {
    plat_advance(ms);
    std::string events;
    PadEvent e;
    while (pad_next_event(&e))
        events += (events.empty() ? "" : " ") + (e.type == PAD_QUIT ? std::string("quit")
                                                 : (e.type == PAD_BUTTON_DOWN ? "+" : "-") + std::to_string(e.button));
    return events;
}

// The buttons down at a new sample: "2 17".
static std::string sampled(void) {
    pad_sample();
    std::string down;
    for (int b = 0; b < PAD_BUTTONS; b++)
        if (pad_button(b))
            down += (down.empty() ? "" : " ") + std::to_string(b);
    return down;
}

TEST(Pad, EveryMappedKeyIsItsButtonWhileHeldAndOtherKeysNone) {
    harness_start();
    const struct {
        SDLKey key;
        const char *button;
    } keys[] = {
        {SDLK_UP, "0"},         {SDLK_LEFT, "2"},     {SDLK_DOWN, "4"},       {SDLK_RIGHT, "6"},
        {SDLK_RETURN, "8"},     {SDLK_KP_ENTER, "8"}, {SDLK_SPACE, "12"},     {SDLK_z, "13"},
        {SDLK_x, "14"},         {SDLK_c, "15"},       {SDLK_PLUS, "16"},      {SDLK_EQUALS, "16"},
        {SDLK_KP_PLUS, "16"},   {SDLK_MINUS, "17"},   {SDLK_KP_MINUS, "17"},  {SDLK_a, ""},
        {SDLK_ESCAPE, ""},      {SDLK_KP8, ""},       {SDLK_LALT, ""},
    };
    for (auto &k : keys) {
        std::string b = k.button;
        key_event(now_ms(), k.key, 1);
        EXPECT_EQ(pad_events(), b.empty() ? "" : "+" + b) << k.key;
        EXPECT_EQ(sampled(), b) << k.key;
        EXPECT_EQ(sampled(), b) << k.key << ", still held";
        key_event(now_ms(), k.key, 0);
        EXPECT_EQ(pad_events(), b.empty() ? "" : "-" + b) << k.key;
        EXPECT_EQ(sampled(), "") << k.key;
    }
}

TEST(Pad, AKeyTappedBetweenTwoSamplesReadsDownAtTheNextOnly) {
    harness_start();
    tap_key(now_ms() + 1, SDLK_LEFT, 2);
    tap_key(now_ms() + 1, SDLK_MINUS, 1);
    EXPECT_EQ(pad_events(), "+2 +17 -17 -2");
    EXPECT_EQ(sampled(), "2 17");
    EXPECT_EQ(sampled(), "");
}

TEST(Pad, TwoKeysOfOneButtonReleaseItOnlyWhenBothAreUp) {
    harness_start();
    key_event(now_ms(), SDLK_PLUS, 1);
    key_event(now_ms() + 1, SDLK_EQUALS, 1);
    key_event(now_ms() + 2, SDLK_PLUS, 0);
    EXPECT_EQ(pad_events(), "+16");
    EXPECT_EQ(sampled(), "16");
    key_event(now_ms(), SDLK_EQUALS, 0);
    EXPECT_EQ(pad_events(), "-16");
}

TEST(Pad, ClosingTheWindowRequestsTheEndAndAltEnterIsNoButton) {
    harness_start();
    for (SDLKey key : {SDLK_RETURN, SDLK_KP_ENTER})
        for (SDLMod alt : {KMOD_LALT, KMOD_RALT}) {
            key_event(now_ms(), key, 1, alt);
            key_event(now_ms() + 1, key, 0, alt);
            EXPECT_EQ(pad_events(), "") << key << " " << alt;
            EXPECT_EQ(sampled(), "") << key << " " << alt;
        }
    close_window(now_ms());
    EXPECT_EQ(pad_events(), "quit");
}

TEST(Pad, LosingTheKeyboardFocusReleasesHeldKeys) {
    harness_start();
    key_event(now_ms(), SDLK_RETURN, 1);
    key_event(now_ms(), SDLK_LEFT, 1);
    EXPECT_EQ(pad_events(), "+8 +2");
    EXPECT_EQ(sampled(), "2 8");
    SDL_Event lost = {};
    lost.type = lost.active.type = SDL_ACTIVEEVENT;
    lost.active.state = SDL_APPINPUTFOCUS;
    plat_script_event(now_ms(), &lost);
    EXPECT_EQ(pad_events(), "-2 -8");
    EXPECT_EQ(sampled(), "");
    // The key-up that arrives after focus returns changes nothing.
    key_event(now_ms(), SDLK_RETURN, 0);
    EXPECT_EQ(pad_events(), "");
}

TEST(Pad, ScriptedEventsBeyondSdlsQueueSizeAreAllDelivered) {
    harness_start();
    for (int i = 0; i < 150; i++)
        tap_button(now_ms(), BTN_A, 0);
    std::string events;
    for (int poll = 0; poll < 10; poll++)
        events += pad_events(0) + " ";
    EXPECT_EQ(std::count(events.begin(), events.end(), '+'), 150);
    EXPECT_EQ(std::count(events.begin(), events.end(), '-'), 150);
}
