// Volume steps, mute and its memory, sound playing, and the volume overlay:
// its text, its place and its two seconds.
#include <vector>
#include <gtest/gtest.h>
#include "draw/overlay.h"
#include "draw/sprites.h"
#include <SDL_mixer.h>
#include "harness.h"
#include "input/input.h"
#include "platform/pad.h"
#include "platform/audio.h"
#include "platform/assets.h"
#include "platform/platform.h"
#include "platform/seam.h"

TEST(Volume, StepsBy7Between1And128AndMuteRemembersTheLevel) {
    harness_start();
    struct {
        const char *operations;  // up, down, mute
        std::vector<int> levels;
    } cases[] = {
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
    play_sound(-1);
    play_sound(SOUND_CLICK1);
    play_sound(SOUND_CLICK1);
    EXPECT_EQ(Mix_Playing(-1), 2) << "overlapping, on free channels";
}

TEST(Overlay, ShowsMuteOrThePercentageRoundedDown) {
    struct {
        int level;
        const char *text;
    } cases[] = {{0, "MUTE"},           {1, "VOLUME   0%"},  {90, "VOLUME  70%"},
                 {125, "VOLUME  97%"},  {127, "VOLUME  99%"}, {128, "VOLUME 100%"}};
    for (auto &c : cases) {
        char text[OVERLAY_TEXT_SIZE];
        volume_overlay_text(c.level, text);
        EXPECT_STREQ(text, c.text) << c.level;
    }
}

TEST(Overlay, IsCentredAtRow215ForTwoSecondsAfterAVolumeKey) {
    harness_start();
    SDL_Surface *font = code_font(7, 9);
    tap_button(now_ms(), BTN_VOLUP, 0);
    poll_input();
    Uint32 stepped = now_ms();
    struct {
        Uint32 after;
        const char *text;
    } moments[] = {{0, "VOLUME  75%"}, {1999, "VOLUME  75%"}, {2000, ""}};
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
    draw_volume_overlay(screen, font);
    EXPECT_EQ(code_text_at(215), "");
    SDL_FreeSurface(font);
}
