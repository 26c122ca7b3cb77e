// The game in a real X window: the scaled frame of the maintained SDL 1.2 and
// Alt+Enter's full screen. Runs only when OG_WINDOW_DISPLAY names an X server
// (scripts/ci.d/40-compat.sh starts Xvfb and runs this binary on both
// libraries); elsewhere every case is skipped.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <string>
#include <vector>
#include <SDL_mixer.h>
#include "harness.h"
#include "draw/sprites.h"
#include "platform/pad.h"
#include "screens/main_menu.h"
#include "draw/backdrop.h"
#include "platform/assets.h"
#include "rules/game_state.h"
#include "game/game_flow.h"
#include "platform/platform.h"
#include "platform/seam.h"

static std::string run(const std::string &command) {
    std::string out;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    pclose(pipe);
    return out;
}

// The platform on the X server, as scripts/play starts it: real clock, real
// window. Returns false (and the case skips) without a display to use.
static bool start_in_window(const char *scale) {
    const char *display = getenv("OG_WINDOW_DISPLAY");
    if (!display || !*display)
        return false;
    setenv("DISPLAY", display, 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL12COMPAT_WINDOW_SCALING", scale, 1);
    setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 1);
    if (chdir(OG_SOURCE_DIR) != 0)
        return false;
    // Now and then a connection to Xvfb is refused here; the display it
    // opens stays open for init_platform, which then skips the video part.
    for (int tries = 0; tries < 5 && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0; tries++)
        usleep(100 * 1000);
    init_platform();
    load_assets();
    set_font(assets.font1);
    return true;
}

// Each case ends as the game does, audio closed before SDL quits: a mixing
// thread left running into exit can crash the maintained library.
class Window : public testing::Test {
  protected:
    void TearDown() override {
        Mix_CloseAudio();
        SDL_Quit();
    }
};

// X clients started from here, tried again when their connection fails.
static std::string run_x(const std::string &command) {
    std::string out;
    for (int tries = 0; tries < 5 && out.empty(); tries++)
        out = run(command);
    return out;
}

static std::string window_id(void) {
    std::string id = run_x("timeout 10 xdotool search --sync --onlyvisible --name '^Olvane Gorvel$' | head -n 1");
    while (!id.empty() && (id.back() == '\n' || id.back() == ' '))
        id.pop_back();
    return id;
}

struct Capture {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;
    const unsigned char *at(int x, int y) const { return &rgb[(size_t)(y * w + x) * 3]; }
};

// The window's pixels as the X server holds them, through ImageMagick.
static Capture capture_window(const std::string &id) {
    Capture c;
    std::string ppm = run_x("import -window " + id + " -depth 8 ppm:-");
    int maxval = 0, offset = 0;
    if (sscanf(ppm.c_str(), "P6 %d %d %d%n", &c.w, &c.h, &maxval, &offset) != 3 || maxval != 255)
        return Capture();
    size_t size = (size_t)c.w * c.h * 3;
    if (ppm.size() < (size_t)offset + 1 + size)
        return Capture();
    c.rgb.assign(ppm.end() - (long)size, ppm.end());
    return c;
}

static int scale_wanted(void) {
    const char *s = getenv("OG_WINDOW_SCALE");
    return s && atoi(s) > 0 ? atoi(s) : 2;
}

static int captured_scale = 0;
static Capture captured;
static std::vector<Uint16> frame;  // the 320x240 screen when captured

// Called after each presented menu frame: the third is shown long enough
// for the server to have it; keep it and the screen it came from.
static void capture_third_frame(void) {
    static int frames = 0;
    if (++frames < 3)
        return;
    plat_frame_hook = nullptr;
    frame.assign(320 * 240, 0);
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++)
            frame[y * 320 + x] = (Uint16)pixel_at(x, y);
    usleep(200 * 1000);
    captured = capture_window(window_id());
    exit_requested = 1;
}

TEST_F(Window, TheFrameAppearsAtTheChosenScaleWithSharpPixels) {
    if (!sdl_is_maintained())
        GTEST_SKIP() << "only the maintained SDL 1.2 scales its window";
    captured_scale = scale_wanted();
    if (!start_in_window(std::to_string(captured_scale).c_str()))
        GTEST_SKIP() << "no OG_WINDOW_DISPLAY";
    plat_frame_hook = capture_third_frame;
    run_main_menu();
    const int s = captured_scale;
    ASSERT_EQ(captured.w, 320 * s);
    ASSERT_EQ(captured.h, 240 * s);
    // Every s x s block is one screen pixel: its colour everywhere in the
    // block (nearest neighbour, no blur), the top bits of the 16-bit value.
    int wrong_blocks = 0, colours = 0;
    Uint16 last = frame[0];
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++) {
            Uint16 v = frame[y * 320 + x];
            int want[3] = {(v >> 11) & 31, (v >> 5) & 63, v & 31};
            bool same = true;
            for (int j = 0; j < s; j++)
                for (int i = 0; i < s; i++) {
                    const unsigned char *p = captured.at(x * s + i, y * s + j);
                    same = same && p[0] >> 3 == want[0] && p[1] >> 2 == want[1] && p[2] >> 3 == want[2];
                }
            wrong_blocks += !same;
            colours += v != last;
            last = v;
        }
    EXPECT_EQ(wrong_blocks, 0) << "of 76800 screen pixels";
    EXPECT_GT(colours, 1000) << "the menu frame, not an empty window";
    const char *shots = getenv("OG_WINDOW_SHOTS");
    if (shots) {
        std::string path = std::string(shots) + "/window_" + std::to_string(s) + "x.png";
        run_x("import -window " + window_id() + " '" + path + "' && echo saved");
    }
}

// Pad events that arrive within `ms` of real time.
static std::vector<int> pad_events_for(int ms) {
    std::vector<int> downs;
    for (int waited = 0; waited < ms; waited += 10) {
        PadEvent e;
        while (pad_next_event(&e))
            if (e.type == PAD_BUTTON_DOWN)
                downs.push_back(e.button);
        usleep(10 * 1000);
    }
    return downs;
}

static bool key_to_window(const std::string &id, const char *keys) {
    std::string command = "xdotool windowfocus --sync " + id + " key --clearmodifiers " + keys + " && echo sent";
    return run_x(command) == "sent\n";
}

TEST_F(Window, AltEnterTogglesFullScreenAndIsNoStart) {
    if (!start_in_window("1"))
        GTEST_SKIP() << "no OG_WINDOW_DISPLAY";
    draw_image(0, 0, assets.background, screen);
    draw_image(40, 40, assets.title, screen);
    SDL_Flip(screen);
    std::string id = window_id();
    ASSERT_FALSE(id.empty());
    pad_events_for(300);  // whatever mapping the window brought

    ASSERT_TRUE(key_to_window(id, "alt+Return"));
    EXPECT_EQ(pad_events_for(500), std::vector<int>{}) << "Alt+Enter is no button";
    EXPECT_TRUE(screen->flags & SDL_FULLSCREEN);
    const char *shots = getenv("OG_WINDOW_SHOTS");
    if (shots) {
        SDL_Flip(screen);
        usleep(300 * 1000);
        const SDL_version *v = SDL_Linked_Version();
        std::string path = std::string(shots) + "/fullscreen_1.2." + std::to_string(v->patch) + ".png";
        run_x("import -window root '" + path + "' && echo saved");
    }

    ASSERT_TRUE(key_to_window(window_id(), "alt+Return"));
    EXPECT_EQ(pad_events_for(500), std::vector<int>{});
    EXPECT_FALSE(screen->flags & SDL_FULLSCREEN);

    // Return alone reaches the game as START: the keys above did arrive.
    ASSERT_TRUE(key_to_window(window_id(), "Return"));
    EXPECT_EQ(pad_events_for(500), std::vector<int>{BTN_START});
}
