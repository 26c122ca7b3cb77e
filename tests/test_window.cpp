// The game in a real X window on the Xvfb without a window manager that OG_WINDOW_DISPLAY names (else skipped): the
// frame pixel for pixel at the window's scale, also after Alt+Returns; clicks; a display lost during name entry.
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>
#include <vector>
#include <SDL_mixer.h>
#include "draw/sprites.h"
#include "game/game_flow.h"
#include "harness.h"
#include "input/input.h"
#include "platform/pad.h"

namespace {

// An X client's output, tried again when Xvfb now and then refuses it.
std::string run_x(const std::string &command) {
    std::string out;
    for (int tries = 0; tries < 5 && out.empty(); tries++) {
        FILE *pipe = popen(command.c_str(), "r");
        for (int c; (c = fgetc(pipe)) != EOF;)
            out += (char)c;
        pclose(pipe);
    }
    return out;
}

std::string window_id(void) {
    std::string id = run_x("timeout 10 xdotool search --sync --onlyvisible --name '^Olvane Gorvel$' | head -n 1");
    return id.empty() ? "none" : id.substr(0, id.find('\n'));  // an import without a window waits for a click
}

// True when the window shows each screen pixel as an s x s block of its colour (the 16-bit value's top bits): no blur.
bool window_shows_screen(int s) {
    std::string shot = run_x("import -window " + window_id() + " -depth 8 rgb:-");
    const int w = 320 * s, h = 240 * s;
    if (shot.size() != (size_t)w * h * 3)
        return false;
    for (int i = 0; i < w * h; i++) {
        uint32_t v = pixel_at(i % w / s, i / w / s);
        const unsigned char *p = (const unsigned char *)shot.data() + (size_t)i * 3;
        if (p[0] >> 3 != (int)(v >> 11 & 31) || p[1] >> 2 != (int)(v >> 5 & 63) || p[2] >> 3 != (int)(v & 31))
            return false;
    }
    return true;
}

// The pad's button downs that arrive within `ms` of real time, and its pointer's downs and ups (" v12,34 ^12,34").
std::vector<int> downs_within(int ms, std::string *pointer = nullptr) {
    std::vector<int> downs;
    for (int waited = 0; waited < ms; waited += 10, usleep(10 * 1000))
        for (PadEvent e; pad_next_event(&e);)
            if (e.type == PAD_BUTTON_DOWN)
                downs.push_back(e.button);
            else if (pointer && (e.type == PAD_POINTER_DOWN || e.type == PAD_POINTER_UP))
                *pointer += (e.type == PAD_POINTER_DOWN ? " v" : " ^") + std::to_string(e.x) + "," + std::to_string(e.y);
    return downs;
}

// Clicks game pixel (x, y) at scale s, in full screen amid the display; returns what the pad made of it.
std::string click_in_window(int x, int y, int s, bool fullscreen) {
    std::string where = "--window " + window_id() + " " + std::to_string(x * s) + " " + std::to_string(y * s);
    if (fullscreen) {
        int w = 0, h = 0;
        sscanf(run_x("xdotool getdisplaygeometry").c_str(), "%d %d", &w, &h);
        where = std::to_string((w - 320 * s) / 2 + x * s) + " " + std::to_string((h - 240 * s) / 2 + y * s);
    }
    run_x("xdotool mousemove " + where + " click 1 && echo done");
    std::string pointer;
    downs_within(300, &pointer);
    return pointer;
}

// The pad's button downs that follow the keys; {-1} when they could not be sent.
std::vector<int> key_to_window(const char *keys) {
    if (run_x("xdotool windowfocus --sync " + window_id() + " key --clearmodifiers " + keys + " && echo sent") != "sent\n")
        return {-1};
    return downs_within(500);
}

// The platform in a real window, as scripts/play starts it; returns the window's scale.
int open_window(const char *display) {
    const int s = sdl_is_maintained() ? 2 : 1;
    const char *environment[][2] = {{"DISPLAY", display}, {"SDL_VIDEODRIVER", "x11"}, {"SDL_AUDIODRIVER", "dummy"},
                                    {"SDL12COMPAT_WINDOW_SCALING", s == 2 ? "2" : "1"}, {"SDL12COMPAT_SCALE_METHOD", "nearest"}};
    for (auto &variable : environment)
        setenv(variable[0], variable[1], 1);
    EXPECT_EQ(chdir(OG_SOURCE_DIR), 0);
    for (int tries = 0; tries < 5 && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0; tries++)
        usleep(100 * 1000);
    init_platform();
    load_assets();
    return s;
}

// A face button on the first frame, the window (by a title of its own) killed by the server on the fourth.
void press_then_kill_window(void) {
    static int frames = 0;
    const std::string title = "Olvane Gorvel " + std::to_string(getpid());
    if (++frames == 1)
        SDL_WM_SetCaption(title.c_str(), nullptr), press_action = 1;
    if (frames == 4)
        run_x("xdotool search --name '^" + title + "$' windowkill; echo killed");
}

}  // namespace

TEST(Window, ShowsTheFrameSharplyAndAltReturnLeavesItAsItWas) {
    const char *display = getenv("OG_WINDOW_DISPLAY");
    if (!display || !*display)
        GTEST_SKIP() << "no OG_WINDOW_DISPLAY";
    const int s = open_window(display);
    auto show = [] {
        draw_image(0, 0, assets.background, screen);
        draw_image(40, 40, assets.title, screen);
        plat_flip();
        usleep(300 * 1000);
    };
    show();
    downs_within(300);  // whatever mapping the window brought
    ASSERT_TRUE(window_shows_screen(s));
    // However often full screen is asked for, granted or not, the window comes back as it was.
    for (int toggles = 1; toggles <= 4; toggles++) {
        EXPECT_EQ(key_to_window("alt+Return"), std::vector<int>{}) << "Alt+Return is no button";
        show();
    }
    EXPECT_FALSE(screen->flags & SDL_FULLSCREEN);
    EXPECT_TRUE(window_shows_screen(s));
    // A click reaches the game in its pixels, at the window's scale and in full screen with borders round it.
    EXPECT_EQ(click_in_window(37, 201, s, false), " v37,201 ^37,201");
    if (!sdl_is_maintained()) {  // the maintained library goes full screen only through a window manager
        EXPECT_EQ(key_to_window("alt+Return"), std::vector<int>{});
        EXPECT_TRUE(screen->flags & SDL_FULLSCREEN);
        EXPECT_EQ(click_in_window(300, 12, s, true), " v300,12 ^300,12");
        EXPECT_EQ(key_to_window("alt+Return"), std::vector<int>{});
    }
    EXPECT_EQ(key_to_window("Return"), std::vector<int>{BTN_START}) << "the keys still arrive";
    if (const char *shots = getenv("OG_WINDOW_SHOTS"))
        run_x("import -window " + window_id() + " '" + shots + "/window_" + std::to_string(s) + "x.png' && echo saved");
    free_assets();
    Mix_CloseAudio();
    SDL_Quit();
}

// A display lost during a name entry keeps the name as it stands, as a failed flip does, and the program ends with
// status 1; lost in the menus it keeps nothing. Each game runs in a child of its own.
TEST(Window, ALostDisplayKeepsTheNameBeingEnteredAndNothingElse) {
    const char *display = getenv("OG_WINDOW_DISPLAY");
    if (!display || !*display)
        GTEST_SKIP() << "no OG_WINDOW_DISPLAY";
    const struct { const char *where; void (*run)(void); std::string file; } cases[] = {
        {"name entry", run_end_of_game, "A" + std::string(19, '\0') + "  4321\n"}, {"the menus", run_game_flow, ""}};
    for (const auto &c : cases) {
        const std::string folder = scratch_folder();
        pid_t pid = fork();
        if (pid == 0) {
            alarm(30);
            open_window(display);
            players[0].score = 4321;
            plat_frame_hook = press_then_kill_window;
            if (chdir(folder.c_str()) == 0)
                c.run();
            _exit(0);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status), 1) << c.where;
        EXPECT_EQ(read_file(folder + "/scores").substr(0, 27), c.file) << c.where;
    }
}
