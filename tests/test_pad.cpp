// The desktop pad: keys become the console's button events and states, the
// window's close button ends the program, Alt+Enter is not START.
#include <vector>
#include <gtest/gtest.h>
#include "harness.h"
#include "input/input.h"
#include "input/pad.h"
#include "shell/game.h"
#include "shell/platform.h"

struct PadEvent {
    int button, down;
    bool operator==(const PadEvent &o) const { return button == o.button && down == o.down; }
};

static std::ostream &operator<<(std::ostream &out, const PadEvent &e) {
    return out << (e.down ? "down " : "up ") << e.button;
}

// Lets the scripted events become due, then takes every pad event.
static std::vector<PadEvent> take_pad_events(Uint32 ms = 5) {
    plat_advance(ms);
    std::vector<PadEvent> events;
    SDL_Event e;
    while (pad_next_event(&e)) {
        EXPECT_TRUE(e.type == SDL_JOYBUTTONDOWN || e.type == SDL_JOYBUTTONUP);
        events.push_back({e.jbutton.button, e.type == SDL_JOYBUTTONDOWN});
    }
    return events;
}

static const struct {
    SDLKey key;
    int button;
} KEY_MAP[] = {
    {SDLK_UP, 0},       {SDLK_LEFT, 2},     {SDLK_DOWN, 4},     {SDLK_RIGHT, 6},
    {SDLK_RETURN, 8},   {SDLK_KP_ENTER, 8}, {SDLK_SPACE, 12},   {SDLK_z, 13},
    {SDLK_x, 14},       {SDLK_c, 15},       {SDLK_PLUS, 16},    {SDLK_EQUALS, 16},
    {SDLK_KP_PLUS, 16}, {SDLK_MINUS, 17},   {SDLK_KP_MINUS, 17},
};

TEST(Pad, EveryMappedKeyIsItsButtonDownWhileHeldAndUpAfter) {
    harness_start();
    for (auto &m : KEY_MAP) {
        key_event(now_ms(), m.key, 1);
        EXPECT_EQ(take_pad_events(), (std::vector<PadEvent>{{m.button, 1}})) << m.key;
        for (int sample = 0; sample < 2; sample++) {
            pad_sample();
            for (int b = 0; b < PAD_BUTTONS; b++)
                EXPECT_EQ(pad_button(b), b == m.button) << m.key << " button " << b;
            take_pad_events();
        }
        key_event(now_ms(), m.key, 0);
        EXPECT_EQ(take_pad_events(), (std::vector<PadEvent>{{m.button, 0}})) << m.key;
        pad_sample();
        EXPECT_EQ(pad_button(m.button), 0) << m.key;
    }
}

TEST(Pad, OtherKeysAreNoButtons) {
    harness_start();
    const SDLKey keys[] = {SDLK_a, SDLK_ESCAPE, SDLK_TAB, SDLK_KP8, SDLK_LALT, SDLK_F1};
    for (SDLKey key : keys) {
        EXPECT_EQ(pad_button_for_key(key), -1) << key;
        key_event(now_ms(), key, 1);
        EXPECT_TRUE(take_pad_events().empty()) << key;
        pad_sample();
        for (int b = 0; b < PAD_BUTTONS; b++)
            EXPECT_EQ(pad_button(b), 0) << key;
    }
}

TEST(Pad, AKeyTappedBetweenTwoSamplesReadsDownAtTheNextOnly) {
    harness_start();
    Uint32 t = now_ms();
    tap_key(t + 1, SDLK_LEFT, 2);
    tap_key(t + 1, SDLK_MINUS, 1);
    EXPECT_EQ(take_pad_events(),
              (std::vector<PadEvent>{{BTN_LEFT, 1}, {BTN_VOLDOWN, 1}, {BTN_VOLDOWN, 0}, {BTN_LEFT, 0}}));
    pad_sample();
    EXPECT_EQ(pad_button(BTN_LEFT), 1);
    EXPECT_EQ(pad_button(BTN_VOLDOWN), 1);
    pad_sample();
    EXPECT_EQ(pad_button(BTN_LEFT), 0);
    EXPECT_EQ(pad_button(BTN_VOLDOWN), 0);
}

TEST(Pad, TwoKeysOfOneButtonReleaseItOnlyWhenBothAreUp) {
    harness_start();
    Uint32 t = now_ms();
    key_event(t, SDLK_PLUS, 1);
    key_event(t + 1, SDLK_EQUALS, 1);
    key_event(t + 2, SDLK_PLUS, 0);
    EXPECT_EQ(take_pad_events(), (std::vector<PadEvent>{{BTN_VOLUP, 1}}));
    pad_sample();
    EXPECT_EQ(pad_button(BTN_VOLUP), 1);
    key_event(now_ms(), SDLK_EQUALS, 0);
    EXPECT_EQ(take_pad_events(), (std::vector<PadEvent>{{BTN_VOLUP, 0}}));
}

TEST(Pad, ClosingTheWindowRequestsTheEndAndIsNoButton) {
    harness_start();
    ASSERT_EQ(exit_requested, 0);
    close_window(now_ms());
    EXPECT_TRUE(take_pad_events().empty());
    EXPECT_EQ(exit_requested, 1);
}

TEST(Pad, AltEnterIsNeverStart) {
    harness_start();
    const SDLKey enters[] = {SDLK_RETURN, SDLK_KP_ENTER};
    const SDLMod alts[] = {KMOD_LALT, KMOD_RALT};
    for (SDLKey key : enters)
        for (SDLMod alt : alts) {
            Uint32 t = now_ms();
            key_event(t, key, 1, alt);
            key_event(t + 20, key, 0, alt);
            for (int i = 0; i < 5; i++) {
                poll_input();
                EXPECT_EQ(hold_start, 0) << key << " " << alt;
                plat_advance(10);
            }
        }
    // Enter alone still is.
    key_event(now_ms(), SDLK_RETURN, 1);
    plat_advance(1);
    poll_input();
    EXPECT_EQ(hold_start, 1);
}

TEST(Pad, LosingTheKeyboardFocusReleasesHeldKeys) {
    harness_start();
    key_event(now_ms(), SDLK_RETURN, 1);
    key_event(now_ms(), SDLK_LEFT, 1);
    plat_advance(1);
    poll_input();
    ASSERT_EQ(hold_start, 1);
    SDL_Event lost = {};
    lost.type = SDL_ACTIVEEVENT;
    lost.active.type = SDL_ACTIVEEVENT;
    lost.active.gain = 0;
    lost.active.state = SDL_APPINPUTFOCUS;
    plat_script_event(now_ms(), &lost);
    plat_advance(1);
    poll_input();
    EXPECT_EQ(hold_start, 0);
    EXPECT_EQ(pad_button(BTN_LEFT), 0);
    // The key-up that arrives after focus returns changes nothing.
    key_event(now_ms(), SDLK_RETURN, 0);
    EXPECT_TRUE(take_pad_events().empty());
}

TEST(Pad, JoystickButtonEventsPassThroughAndCountAsHeld) {
    harness_start();
    const int buttons[] = {BTN_UPLEFT, BTN_START, 9, BTN_Y, BTN_VOLDOWN};
    for (int b : buttons) {
        button_event(now_ms(), b, 1);
        EXPECT_EQ(take_pad_events(), (std::vector<PadEvent>{{b, 1}})) << b;
        pad_sample();
        EXPECT_EQ(pad_button(b), 1) << b;
        button_event(now_ms(), b, 0);
        EXPECT_EQ(take_pad_events(), (std::vector<PadEvent>{{b, 0}})) << b;
        pad_sample();
        EXPECT_EQ(pad_button(b), 0) << b;
    }
}

TEST(Pad, ScriptedEventsBeyondSdlsQueueSizeAreAllDelivered) {
    harness_start();
    for (int i = 0; i < 150; i++)
        tap_button(now_ms(), BTN_A, 0);
    size_t delivered = 0;
    for (int poll = 0; poll < 10; poll++)
        delivered += take_pad_events(0).size();
    EXPECT_EQ(delivered, 300u);
}
