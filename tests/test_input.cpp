// The controls: keys, joystick 0 and the mouse through SDL's real event queue and this build's pad map into the
// latches, with auto-repeat, the shared hold of the directions, START, volume and mute, focus loss, the closed window,
// the mouse's arrow and lost joystick events; the volume levels and the overlay that shows them.
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

JoystickState device;
std::vector<std::pair<uint32_t, SDL_Event>> lost;  // changes of the device alone, and when

// A token `what@ms`: "+L"/"-L" a key down/up (arrows L R U D, _ Space, S Return, E keypad Enter, p m keypad + -,
// e Escape, else its character), "+7"/"-7" joystick button 7, "h0=UR" hat 0 ("h0=" centred), "a1=-20000" axis 1,
// "j1" first for joystick 1; "J" a face button tapped, ">30" the mouse to (30, 20), "~" focus lost, "Q" closed.
// A "!" first changes the device without an event; "^" or "%" first holds the left or right Alt.
void script(std::string token, uint32_t start) {
    uint32_t at = start + (uint32_t)std::stoi(token.substr(token.find('@') + 1));
    int prefix = token[0] == '!' || token[0] == '^' || token[0] == '%';
    std::string what = token.substr(prefix, token.find('@') - prefix);
    if (what == "Q")
        return close_window(at);
    if (what == "J")
        return tap_face_button(at, 5);
    if ((what[0] == '+' || what[0] == '-') && !isdigit((unsigned char)what[1])) {
        const char *names = "LRUD_SEpme", *named = strchr(names, what[1]);
        const SDLKey keys[] = {SDLK_LEFT,     SDLK_RIGHT,   SDLK_UP,       SDLK_DOWN,  SDLK_SPACE,
                               SDLK_RETURN,   SDLK_KP_ENTER, SDLK_KP_PLUS, SDLK_KP_MINUS, SDLK_ESCAPE};
        SDLMod alt = token[0] == '^' ? KMOD_LALT : token[0] == '%' ? KMOD_RALT : KMOD_NONE;
        return key_event(at, named ? keys[named - names] : (SDLKey)what[1], what[0] == '+', alt);
    }
    SDL_Event e = {};
    if (what == "~") {
        e.type = e.active.type = SDL_ACTIVEEVENT;
        e.active.state = SDL_APPINPUTFOCUS;
    } else if (what[0] == '>') {
        e.type = e.motion.type = SDL_MOUSEMOTION;
        e.motion.x = (Uint16)std::stoi(what.substr(1));
        e.motion.y = 20;
    } else {
        // Every joystick event starts with its type, the joystick, then the button's, hat's or axis's number.
        e.jbutton.which = what.compare(0, 2, "j1") ? 0 : 1;
        what = what.substr(2 * e.jbutton.which);
        e.type = what[0] == '+' ? SDL_JOYBUTTONDOWN : what[0] == '-' ? SDL_JOYBUTTONUP
                 : what[0] == 'h' ? SDL_JOYHATMOTION : SDL_JOYAXISMOTION;
        e.jbutton.button = (Uint8)std::stoi(what.substr(1));
        if (what[0] == 'a')
            e.jaxis.value = (Sint16)std::stoi(what.substr(3));
        for (char c : what[0] == 'h' ? what.substr(3) : "")
            e.jhat.value |= c == 'U' ? SDL_HAT_UP : c == 'R' ? SDL_HAT_RIGHT : c == 'D' ? SDL_HAT_DOWN : SDL_HAT_LEFT;
    }
    token[0] == '!' ? lost.push_back({at, e}) : (void)plat_script_event(at, &e);
}

// Polls every `step` ms for `ms` ms, consuming the latches as a screen would; returns what each poll found and when:
// "L0" latches, "S0 s300" START down and up, "97@0" a volume ("97!@0" if a mixer channel differs), "X5" the end
// requested, "P5 p9" the arrow shown and hidden.
std::string run(const char *events, uint32_t ms, uint32_t step = 10) {
    uint32_t start = now_ms();
    std::istringstream in(events);
    for (std::string token; in >> token;)
        script(token, start);
    int *const latches[] = {&press_left, &press_right, &press_up, &press_down, &press_action};
    std::string trace;
    auto note = [&](const std::string &what, uint32_t t) { trace += (trace.empty() ? "" : " ") + what + std::to_string(t); };
    int level = get_volume(), start_held = hold_start, ending = exit_requested, arrow = SDL_ShowCursor(SDL_QUERY);
    for (uint32_t t = 0; t < ms; t += step) {
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
            note(std::to_string(level = get_volume()) + (Mix_Volume(-1, -1) == get_volume() ? "@" : "!@"), t);
        if (exit_requested != ending)
            note((ending = exit_requested) ? "X" : "x", t);
        if (SDL_ShowCursor(SDL_QUERY) != arrow)
            note((arrow = SDL_ShowCursor(SDL_QUERY)) ? "P" : "p", t);
    }
    return trace;
}

}  // namespace

TEST(Pad, FollowsTheScripts) {
    const struct { const char *events; uint32_t ms; const char *trace; uint32_t step = 10; } cases[] = {
        // A tap steps once; a hold at once, after 350 ms, then every 150 ms (here the first poll past each deadline).
        {"+R@0 -R@60", 600, "R0"}, {"+L@0", 900, "L0 L360 L520 L680 L840"},
        // Of directions held together the first of LEFT, RIGHT, UP, DOWN latches; another takes over at a repeat.
        {"+R@0 +L@0", 400, "L0 L360"}, {"+U@0 +R@0", 400, "R0 R360"}, {"+D@0 +U@0", 400, "U0 U360"},
        {"+U@0 +L@0 -L@400", 700, "L0 L360 U520 U680"},
        // A new press latches at once only after every direction was seen up for more than 9 ms.
        {"+L@0 -L@50 +L@70", 400, "L0 L70"}, {"+L@0 -L@50 +L@56", 400, "L0 L352", 2},
        // Every face key acts once, also tapped between two polls; others never.
        {"+_@3 -_@5 +z@23 -z@25 +x@43 -x@45 +c@63 -c@65 +k@83 -k@85 +e@103 -e@105", 200, "A10 A30 A50 A70"},
        // Either Enter is START, up once both are, a tap between polls seen by the next; Alt+Enter is no START.
        {"+S@0 +E@10 -S@20 -E@60", 100, "S0 s60"}, {"+S@3 -S@5", 100, "S10 s20"}, {"^+S@0 ^-S@5 %+E@20 %-E@25", 100, ""},
        // Volume keys step by 7 every 50 ms held, 1 to 128; both mute and unmute every 200 ms; a step unmutes.
        {"++@0", 400, "97@0 104@60 111@120 118@180 125@240 128@300"},
        {"+-@0", 800, "83@0 76@60 69@120 62@180 55@240 48@300 41@360 34@420 27@480 20@540 13@600 6@660 1@720"},
        {"+-@0 --@10 +-@100 --@110 ++@200 +-@200 -+@250 --@250 ++@500 -+@510", 600, "83@0 76@100 0@200 83@500"},
        {"+=@0 -=@10 +p@100 -p@110 +m@200 -m@210", 300, "97@0 104@100 97@200"},
        {"++@0 +=@20 -+@30 -=@100", 300, "97@0 104@60"}, {"++@0 +-@0", 700, "0@0 90@210 0@420 90@630"},
        // Focus lost releases all; a closed window ends; the arrow shows on a move (not the first) until a press.
        {"+S@0 +L@0 ~@100", 800, "L0 S0 s100"}, {"Q@30", 50, "X30"},
        {">40@0 >40@30 >30@60 +_@90 -_@95 >40@120 J@150 >40@180", 210, "P60 A90 p90 P120 A150 p150"},
        // This build's map; the device overrules lost events ("!"), and nothing acts beyond the map.
#ifdef OG_CONSOLE
        // 0 up, 2 left, 4 down, 6 right (diagonals between latch nothing), 8 START, 12-15 A B X Y, 16/17 volume.
        {"+1@0 +3@0 +5@0 +7@0", 400, ""}, {"+0@0 -0@30 +4@100 -4@130 +2@143 -2@145", 200, "U0 D100 L150"},
        {"+12@3 -12@5 +13@23 -13@25 +14@43 -14@45 +15@63 -15@65 +9@83 -9@85", 100, "A10 A30 A50 A70"},
        {"+S@0 +8@50 -S@100 -8@200", 300, "S0 s200"}, {"+16@0", 200, "97@0 104@60 111@120 118@180"},
        {"+6@0 !-6@100", 600, "R0"}, {"+8@0 !-8@100", 300, "S0 s110"}, {"!+4@0", 400, "D0 D360"},
        {"+200@0 +18@0 h0=L@0 a0=-30000@0 a1=30000@0 j1+2@0 j1+16@0 j1+8@0", 400, ""}, {"+17@0", 100, "83@0 76@60"},
#else
        // A common gamepad: hat 0, axes 0 and 1, face buttons 0-3, volume 4 and 5, Back 6 and Start 7.
        {"h0=U@0 h0=@30 h0=D@100 h0=@130 h0=L@143 h0=@145", 200, "U0 D100 L150"}, {"h0=UR@0", 400, "R0 R360"},
        {"a0=-32768@0 a1=32767@0", 400, "L0 L360"},
        // The stick goes down from half its throw and up again inside a quarter.
        {"a0=16384@0 a0=0@60", 200, "R0"}, {"a1=-16384@0", 400, "U0 U360"},
        {"a0=16383@0 a1=-16383@0 a1=16383@0", 400, ""}, {"a1=20000@0 a1=8191@100 a1=20000@200", 400, "D0 D200"},
        {"a1=20000@0 a1=8192@100 a1=20000@200", 400, "D0 D360"},
        // Face buttons tapped between two polls act once; buttons past 7 never.
        {"+0@3 -0@5 +1@23 -1@25 +2@43 -2@45 +3@63 -3@65 +8@83 -8@85", 100, "A10 A30 A50 A70"},
        // START and a direction are up only once every source of them is.
        {"+6@0 +7@50 -6@100 -7@200", 300, "S0 s200"}, {"+S@0 +7@50 -S@100 -7@200", 300, "S0 s200"},
        {"h0=L@0 a0=-20000@100 h0=@200 a0=0@500", 600, "L0 L360"}, {"+7@0 !-7@100", 300, "S0 s110"},
        {"+5@0", 200, "97@0 104@60 111@120 118@180"}, {"+4@0", 100, "83@0 76@60"},
        {"h0=R@0 !h0=@100", 600, "R0"}, {"!h0=D@0", 400, "D0 D360"}, {"a0=-30000@0 !a0=0@100", 600, "L0"},
        {"+200@0 h3=L@0 a7=-30000@0 j1+7@0 j1h0=L@0 j1a0=-30000@0 j1+5@0", 400, ""},
#endif
    };
    for (const auto &c : cases) {
        harness_start();
        device = JoystickState{};
        plat_fake_joystick = &device;
        lost.clear();
        EXPECT_EQ(run(c.events, c.ms, c.step), c.trace) << c.events << ", polled every " << c.step << " ms";
    }
}

// A listed pad that cannot be opened: fatal on the handheld; a desktop says so and plays on with the keyboard.
TEST(Pad, ListedButUnopenable) {
    harness_start();
    plat_unopenable_joystick = 1;
#ifdef OG_CONSOLE
    EXPECT_EXIT(pad_open_joystick(), testing::ExitedWithCode(1), "^Couldn't open joystick 0\nSDL_GetError: ");
#else
    testing::internal::CaptureStderr();
    pad_open_joystick();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Couldn't open joystick 0: playing with the keyboard.\n");
    EXPECT_EQ(run("+_@0", 20), "A0");
#endif
}

// START consumed while held stays so until it goes down again; a reset (a new screen) clears every latch and the
// volume overlay, but a held direction steps again only at its repeat.
TEST(Latches, ConsumedOrResetStayClear) {
    harness_start();
    EXPECT_EQ(run("+S@0", 20), "S0");
    hold_start = 0;
    EXPECT_EQ(run("", 100), "");
    EXPECT_EQ(run("-S@0 +S@10", 30), "S10");
    EXPECT_EQ(run("+D@0 +_@0", 10), "D0 A0");
    press_down = press_action = stock_requested = takescore_requested = 1;
    volume_shown_until = now_ms() + 2000;
    reset_input();
    EXPECT_EQ(press_left + press_right + press_up + press_down + press_action + hold_start + stock_requested +
                  takescore_requested + (int)volume_shown_until, 0);
    EXPECT_EQ(run("", 400), "D350");
}

TEST(Overlay, ShowsMuteOrThePercentageCentredAtRow215ForTwoSeconds) {
    harness_start();
    volume_up();
    set_default_volume();
    EXPECT_EQ(Mix_Volume(-1, -1), 90) << "a run starts every channel at the default level";
    char text[OVERLAY_TEXT_SIZE];
    for (auto c : {std::pair(0, "MUTE"), {1, "VOLUME   0%"}, {125, "VOLUME  97%"}, {128, "VOLUME 100%"}})
        EXPECT_STREQ((volume_overlay_text(c.first, text), text), c.second) << c.first;
    SDL_Surface *font = code_font(7, 9);
    EXPECT_EQ(run("++@0 -+@20", 10), "97@0");
    uint32_t stepped = now_ms();
    for (uint32_t after : {0, 1999, 2000}) {
        plat_advance(stepped + after - now_ms());
        SDL_FillRect(screen, nullptr, 0);
        draw_volume_overlay(screen, font);
        int x;
        std::string shown = code_text_at(215, &x);
        EXPECT_EQ(shown + std::to_string(x), after < 2000 ? "VOLUME  75%116" : "-1") << after;
        EXPECT_EQ(code_text_at(214), "") << "the text's top row is 215";
    }
    SDL_FreeSurface(font);
}
