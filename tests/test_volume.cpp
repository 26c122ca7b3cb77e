// Volume steps, mute and its memory, sound playing, and the volume overlay:
// its text, its place and its two seconds.
#include <vector>
#include <gtest/gtest.h>
#include "draw/overlay.h"
#include "draw/sprites.h"
#include "harness.h"
#include "input/input.h"
#include "input/pad.h"
#include "input/sound.h"
#include "shell/assets.h"
#include "shell/platform.h"

enum { UP = 'u', DOWN = 'd', MUTE = 'm' };

// Runs the operations from the start level; the level after each one.
static std::vector<int> levels_after(const char *operations) {
    set_default_volume();
    std::vector<int> levels;
    for (const char *op = operations; *op; op++) {
        if (*op == UP)
            volume_up();
        else if (*op == DOWN)
            volume_down();
        else
            toggle_mute();
        levels.push_back(get_volume());
    }
    return levels;
}

TEST(Volume, StepsBy7Between1And128AndMuteRemembersTheLevel) {
    struct {
        const char *operations;
        std::vector<int> levels;
    } cases[] = {
        {"uuuuuuu", {97, 104, 111, 118, 125, 128, 128}},
        {"ddddddddddddddd", {83, 76, 69, 62, 55, 48, 41, 34, 27, 20, 13, 6, 1, 1, 1}},
        {"dddddddddddddu", {83, 76, 69, 62, 55, 48, 41, 34, 27, 20, 13, 6, 1, 8}},
        {"mm", {0, 90}},
        {"md", {0, 83}},
        {"mu", {0, 97}},
        {"uuuuuumum", {97, 104, 111, 118, 125, 128, 0, 128, 0}},
        {"ddddddddddddmmd", {83, 76, 69, 62, 55, 48, 41, 34, 27, 20, 13, 6, 0, 6, 1}},
    };
    for (auto &c : cases)
        EXPECT_EQ(levels_after(c.operations), c.levels) << c.operations;

    // From 1 upwards: 8, 15, ... 127, then the ceiling.
    levels_after("ddddddddddddd");
    std::vector<int> up;
    for (int i = 0; i < 20; i++) {
        volume_up();
        up.push_back(get_volume());
    }
    for (int i = 0; i < 18; i++)
        EXPECT_EQ(up[i], 8 + 7 * i);
    EXPECT_EQ(up[18], 128);
    EXPECT_EQ(up[19], 128);
}

TEST(Volume, OnlyMutingReachesZero) {
    levels_after("");
    for (int i = 0; i < 40; i++) {
        volume_down();
        EXPECT_EQ(muted, 0);
        EXPECT_GE(get_volume(), 1);
    }
    toggle_mute();
    EXPECT_EQ(muted, 1);
    EXPECT_EQ(get_volume(), 0);
}

TEST(Volume, EveryChangeReachesTheMixerAndSoundsPlay) {
    harness_start();
    const char *operations = "uuumdmudd";
    levels_after("");
    for (const char *op = operations; *op; op++) {
        levels_after(std::string(operations, op - operations + 1).c_str());
        for (int channel = 0; channel < 8; channel++)
            EXPECT_EQ(Mix_Volume(channel, -1), get_volume()) << op << " channel " << channel;
    }
    int before = Mix_Playing(-1);
    play_sound(nullptr);
    EXPECT_EQ(Mix_Playing(-1), before);
    play_sound(assets.click1);
    play_sound(assets.click1);
    EXPECT_EQ(Mix_Playing(-1), before + 2);  // overlapping, on free channels
}

TEST(Overlay, ShowsMuteOrThePercentageRoundedDown) {
    struct {
        int level;
        const char *text;
    } cases[] = {
        {0, "MUTE"},           {1, "VOLUME   0%"},  {7, "VOLUME   5%"},
        {8, "VOLUME   6%"},    {90, "VOLUME  70%"}, {125, "VOLUME  97%"},
        {127, "VOLUME  99%"},  {128, "VOLUME 100%"},
    };
    for (auto &c : cases) {
        char text[OVERLAY_TEXT_SIZE];
        volume_overlay_text(c.level, text);
        EXPECT_STREQ(text, c.text) << c.level;
    }
}

TEST(Overlay, IsCentredAtRow215InTheGivenFontWhichStaysCurrent) {
    harness_start();
    struct {
        int glyph_width, level;
        const char *text;
        int x;
    } cases[] = {
        {7, 0, "MUTE", 144},         {7, 90, "VOLUME  70%", 116},
        {10, 0, "MUTE", 138},        {10, 128, "VOLUME 100%", 100},
        {5, 1, "VOLUME   0%", 127},
    };
    for (auto &c : cases) {
        SDL_Surface *font = code_font(c.glyph_width, 9);
        volume = c.level;
        volume_shown_until = now_ms() + 1;
        SDL_FillRect(screen, nullptr, 0);
        draw_volume_overlay(screen, font);
        int x;
        EXPECT_EQ(code_text_at(215, &x), c.text) << c.level;
        EXPECT_EQ(x, c.x) << c.glyph_width << " " << c.text;
        EXPECT_EQ(code_text_at(214), "");
        EXPECT_EQ(current_font.image, font);
        SDL_FreeSurface(font);
    }
}

TEST(Overlay, LastsTwoSecondsAfterAVolumeKeyAndLeavesTheFontAloneWhenHidden) {
    harness_start();
    SDL_Surface *font = code_font(7, 9);
    tap_button(now_ms() + 5, BTN_VOLUP, 20);
    Uint32 stepped = 0;
    while (!stepped) {
        poll_input();
        if (volume_shown_until)
            stepped = now_ms();
        plat_advance(5);
    }
    struct {
        Uint32 after;
        const char *text;
    } moments[] = {{0, "VOLUME  75%"}, {1000, "VOLUME  75%"}, {1999, "VOLUME  75%"}, {2000, ""}, {2500, ""}};
    for (auto &m : moments) {
        plat_advance(stepped + m.after - now_ms());
        set_font(assets.font1);
        SDL_FillRect(screen, nullptr, 0);
        draw_volume_overlay(screen, font);
        EXPECT_EQ(code_text_at(215), m.text) << m.after;
        EXPECT_EQ(current_font.image, *m.text ? font : assets.font1) << m.after;
    }
    // A new screen hides it at once.
    volume_shown_until = now_ms() + 2000;
    reset_input();
    SDL_FillRect(screen, nullptr, 0);
    draw_volume_overlay(screen, font);
    EXPECT_EQ(code_text_at(215), "");
    SDL_FreeSurface(font);
}

TEST(Overlay, LooksRightOverTheTableBackground) {
    harness_start();
    const int levels[] = {0, 90};
    const char *files[] = {"/tmp/found_overlay_mute.png", "/tmp/found_overlay_70.png"};
    for (int i = 0; i < 2; i++) {
        volume = levels[i];
        volume_shown_until = now_ms() + 100;
        draw_image(0, 0, assets.background, screen);
        draw_volume_overlay(screen, assets.font3);
        save_screen(files[i]);
        // Some of the text's own pixels differ from what lies under them.
        draw_image(0, 0, assets.background, screen);
        SDL_Surface *under = SDL_ConvertSurface(screen, screen->format, SDL_SWSURFACE);
        draw_volume_overlay(screen, assets.font3);
        int changed = 0;
        for (int y = 215; y < 215 + assets.font3->h; y++)
            for (int x = 0; x < 320; x++)
                changed += pixel_at(x, y) != ((Uint16 *)((Uint8 *)under->pixels + y * under->pitch))[x];
        EXPECT_GT(changed, 20) << levels[i];
        SDL_FreeSurface(under);
    }
}
