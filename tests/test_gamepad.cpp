// Joystick 0 and the keyboard through SDL's queue and the pad of this build's
// map into the input latches, on a fake joystick the pad reads at each poll.
#include <sstream>
#include <string>
#include <utility>
#include <vector>
#include <gtest/gtest.h>
#include "harness.h"
#include "input/input.h"
#include "platform/audio.h"
#include "platform/seam.h"

static JoystickState device;
static std::vector<std::pair<Uint32, SDL_Event>> lost;  // changes of the device alone, and when

// "+7", "-7" joystick button 7 down, up; "h0=UR" hat 0 up-right ("h0="
// centred); "a1=-20000" axis 1; "ret+", "ret-" the Return key; then "@ms".
// "j1" before makes it joystick 1's; "!" first changes the device without an event.
static void script(const std::string &token, Uint32 start) {
    size_t at = token.find('@');
    Uint32 ms = start + std::stoi(token.substr(at + 1));
    std::string what = token.substr(token[0] == '!', at - (token[0] == '!'));
    SDL_Event e = {};
    e.jbutton.which = what.compare(0, 2, "j1") ? 0 : 1;  // alike in every joystick event
    what = what.substr(2 * e.jbutton.which);
    if (what[0] == 'r')
        return key_event(ms, SDLK_RETURN, what == "ret+");
    if (what[0] == '+' || what[0] == '-') {
        e.type = what[0] == '+' ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
        e.jbutton.button = (Uint8)std::stoi(what.substr(1));
    } else if (what[0] == 'h') {
        e.type = SDL_JOYHATMOTION;
        e.jhat.hat = (Uint8)(what[1] - '0');
        for (char c : what.substr(3))
            e.jhat.value |= c == 'U' ? SDL_HAT_UP : c == 'R' ? SDL_HAT_RIGHT : c == 'D' ? SDL_HAT_DOWN : SDL_HAT_LEFT;
    } else {
        e.type = SDL_JOYAXISMOTION;
        e.jaxis.axis = (Uint8)(what[1] - '0');
        e.jaxis.value = (Sint16)std::stoi(what.substr(3));
    }
    token[0] == '!' ? lost.push_back({ms, e}) : (void)plat_script_event(ms, &e);
}

struct Case {
    const char *script;  // tokens as script() reads them
    Uint32 ms;           // polled every 10 ms for this long
    const char *trace;   // the latches "L0 L360", START "S0 s300", a volume level "97@0", at ms since the start
};

static std::string run(const Case &c) {
    Uint32 start = now_ms();
    std::istringstream in(c.script);
    for (std::string token; in >> token;)
        script(token, start);
    int *latches[] = {&press_left, &press_right, &press_up, &press_down, &press_action};
    std::string trace;
    auto note = [&](const std::string &what, Uint32 t) { trace += " " + what + std::to_string(t); };
    int level = get_volume(), start_held = hold_start;
    for (Uint32 t = 0; t < c.ms; t += 10) {
        plat_advance(start + t - now_ms());
        for (auto &l : lost)
            if (l.second.type && l.first <= now_ms())
                plat_fake_joystick_follow(&l.second), l.second.type = 0;
        poll_input();
        for (int i = 0; i < 5; i++)
            if (*latches[i])
                note(std::string(1, "LRUDA"[i]), t), *latches[i] = 0;
        if (hold_start != start_held)
            note((start_held = hold_start) ? "S" : "s", t);
        if (get_volume() != level)
            note(std::to_string(level = get_volume()) + "@", t);
    }
    return trace.substr(!trace.empty());
}

class Gamepad : public ::testing::TestWithParam<Case> {
  protected:
    void SetUp() override {
        harness_start();
        device = JoystickState{};
        plat_fake_joystick = &device;
        lost.clear();
    }
};

TEST_P(Gamepad, FollowsTheScript) { EXPECT_EQ(run(GetParam()), GetParam().trace) << GetParam().script; }

#ifdef OG_CONSOLE_PAD
// The console's numbers: 0 up, 2 left, 4 down, 6 right, the diagonals
// between, 8 START, 12 to 15 A B X Y, 16 and 17 volume up and down.
INSTANTIATE_TEST_SUITE_P(ConsoleMap, Gamepad, ::testing::Values(
    Case{"+6@0 -6@60", 600, "R0"}, Case{"+0@0 -0@30 +4@100 -4@130 +2@143 -2@145", 200, "U0 D100 L150"},
    Case{"+2@0", 900, "L0 L360 L520 L680 L840"}, Case{"+1@0 +3@0 +5@0 +7@0", 400, ""},
    Case{"+12@3 -12@5 +13@23 -13@25 +14@43 -14@45 +15@63 -15@65 +9@83 -9@85", 100, "A10 A30 A50 A70"},
    Case{"+8@0 -8@300", 400, "S0 s300"}, Case{"+8@3 -8@5", 100, "S10 s20"},
    Case{"ret+@0 +8@50 ret-@100 -8@200", 300, "S0 s200"}, Case{"+8@0 ret+@50 -8@100 ret-@200", 300, "S0 s200"},
    Case{"+16@0", 200, "97@0 104@60 111@120 118@180"}, Case{"+17@0", 100, "83@0 76@60"},
    Case{"+16@0 +17@0", 700, "0@0 90@210 0@420 90@630"}, Case{"+16@0 !-16@100", 400, "97@0 104@60"},
    Case{"+6@0 !-6@100", 600, "R0"}, Case{"+8@0 !-8@100", 300, "S0 s110"}, Case{"!+4@0", 400, "D0 D360"},
    Case{"+200@0 +18@0 h0=L@0 a0=-30000@0 a1=30000@0 j1+2@0 j1+16@0 j1+8@0", 400, ""}));
#else
// A common gamepad: d-pad (hat 0) and left stick (axes 0 and 1), face
// buttons 0 to 3, shoulders 4 (volume down) and 5 (up), Back 6 and Start 7.
INSTANTIATE_TEST_SUITE_P(GamepadMap, Gamepad, ::testing::Values(
    // A tap steps once; a hold at once, after 350 ms, then every 150 ms.
    Case{"h0=R@0 h0=@60", 600, "R0"}, Case{"h0=L@0", 900, "L0 L360 L520 L680 L840"},
    Case{"h0=U@0 h0=@30 h0=D@100 h0=@130 h0=L@143 h0=@145", 200, "U0 D100 L150"},
    // A diagonal holds two directions: the first of LEFT, RIGHT, UP, DOWN latches.
    Case{"h0=UR@0", 400, "R0 R360"}, Case{"h0=DL@0", 400, "L0 L360"}, Case{"a0=-32768@0 a1=32767@0", 400, "L0 L360"},
    // The stick goes down from half its throw and up again inside a quarter.
    Case{"a0=16384@0 a0=0@60", 200, "R0"}, Case{"a1=-16384@0", 400, "U0 U360"},
    Case{"a0=16383@0 a1=-16383@0 a1=16383@0", 400, ""}, Case{"a1=20000@0 a1=8191@100 a1=20000@200", 400, "D0 D200"},
    Case{"a1=20000@0 a1=8192@100 a1=20000@200", 400, "D0 D360"},
    // Face buttons tapped between two polls act once; buttons past 7 never.
    Case{"+0@3 -0@5 +1@23 -1@25 +2@43 -2@45 +3@63 -3@65 +8@83 -8@85", 100, "A10 A30 A50 A70"},
    // Start and Back are START, up only once every source of it is up; so is a direction.
    Case{"+7@0 -7@300", 400, "S0 s300"}, Case{"+6@3 -6@5", 100, "S10 s20"},
    Case{"+6@0 +7@50 -6@100 -7@200", 300, "S0 s200"}, Case{"ret+@0 +7@50 ret-@100 -7@200", 300, "S0 s200"},
    Case{"+7@0 ret+@50 -7@100 ret-@200", 300, "S0 s200"}, Case{"h0=L@0 a0=-20000@100 h0=@200 a0=0@500", 600, "L0 L360"},
    // The shoulders step the volume; together they mute and unmute.
    Case{"+5@0", 200, "97@0 104@60 111@120 118@180"}, Case{"+4@0", 100, "83@0 76@60"},
    Case{"+4@0 +5@0", 700, "0@0 90@210 0@420 90@630"},
    // The device overrules lost events: a lost up ends a hold at the next
    // poll, and START's up event comes at the one after.
    Case{"+5@0 !-5@100", 400, "97@0 104@60"}, Case{"h0=R@0 !h0=@100", 600, "R0"}, Case{"!h0=D@0", 400, "D0 D360"},
    Case{"a0=-30000@0 !a0=0@100", 600, "L0"}, Case{"+7@0 !-7@100", 300, "S0 s110"},
    // Nothing beyond the map: another hat, axis or joystick, a huge button.
    Case{"+200@0 h3=L@0 a7=-30000@0 j1+7@0 j1h0=L@0 j1a0=-30000@0 j1+5@0", 400, ""}));
#endif
