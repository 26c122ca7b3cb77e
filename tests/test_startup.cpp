// Start-up, shutdown and fatal errors: the real game binary run as a child process in a scratch folder, and the
// fatal path run in-process. Nothing here starts SDL's threads, which would make the fatal path's forks unsafe.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <gtest/gtest.h>
#include "harness.h"

namespace {

// A fatal error's report: the message, then exactly one line of SDL's text.
bool is_report(const std::string &err, const std::string &message) {
    std::string head = message + "\nSDL_GetError: ";
    return err.rfind(head, 0) == 0 && err.find('\n', head.size()) == err.size() - 1;
}

// SDL quits on SIGTERM only once its handler is in, and the classic SDL 1.2 drops one that comes before its event
// queue is up: ask again a second later (not sooner: after SDL_Quit, SIGTERM kills the game).
bool catches_sigterm(pid_t pid) {
    std::string status = read_file("/proc/" + std::to_string(pid) + "/status");
    size_t caught = status.find("SigCgt:");
    return caught != std::string::npos && (strtoull(&status[caught + 7], nullptr, 16) >> (SIGTERM - 1)) & 1;
}

}  // namespace

// The banner, then a quit with status 0 and nothing on stderr, or the first failure: images load first, in
// catalogue order, then the sounds. The game runs in a scratch folder whose data/ lacks the catalogue's files
// first..last; where nothing fails, SIGTERM asks it to quit as a closed window would.
TEST(GameProcess, PrintsTheBannerThenQuitsOrStopsAtTheFirstFailure) {
    const std::string image = "Unable to load image: data/", init = "Unable to initialize ", sound = "Unable to load sound";
    const struct { int first, last; std::string drivers, message; } cases[] = {
        {ASSET_COUNT, 0, "", ""}, {ASSET_COUNT, 0, "SDL_VIDEODRIVER=no-such-video", init + "SDL"},
        // The maintained SDL 1.2 refuses an unknown audio driver in SDL_Init.
        {ASSET_COUNT, 0, "SDL_AUDIODRIVER=no-such-audio", init + (sdl_is_maintained() ? "SDL" : "audio")},
        {0, 0, "", image + "tile_normal.png\n"}, {17, ASSET_COUNT - 1, "", image + "timesup.png\n"},
        {40, 40, "", image + "button_takescore_sure.png\n"}, {41, 41, "", sound}, {46, 46, "", sound},
    };
    setenv("ASAN_OPTIONS", "detect_leaks=0", 1);  // the status is under test, not SDL's leftovers
    for (auto &c : cases) {
        bool quit = c.message.empty();
        if (quit && getenv("QEMU_LD_PREFIX"))  // qemu's user mode catches SIGTERM itself, from the first instruction
            continue;
        std::string dir = scratch_folder();
        std::string command = "cd '" + dir + "' && exec env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy " + c.drivers +
                              " '" OG_GAME_BINARY "' >stdout 2>stderr";
        bool made = mkdir((dir + "/data").c_str(), 0755) == 0;
        for (int i = 0; i < ASSET_COUNT; i++)
            made = made && ((i >= c.first && i <= c.last) ||
                            symlink((OG_SOURCE_DIR "/" + std::string(asset_catalogue[i].path)).c_str(),
                                    (dir + "/" + asset_catalogue[i].path).c_str()) == 0);
        const char *argv[] = {"sh", "-c", command.c_str(), nullptr};
        pid_t pid;
        ASSERT_TRUE(made && posix_spawn(&pid, "/bin/sh", nullptr, nullptr, (char **)argv, environ) == 0);
        int status = 0;
        for (int waited_ms = 0, asked_ms = -1000; waitpid(pid, &status, WNOHANG) != pid; waited_ms++, usleep(1000)) {
            if (quit && waited_ms >= asked_ms + 1000 && catches_sigterm(pid) && kill(pid, SIGTERM) == 0)
                asked_ms = waited_ms;
            if (waited_ms == 30000)
                kill(pid, SIGKILL);
        }
        std::string err = read_file(dir + "/stderr");
        EXPECT_EQ(std::make_pair(c.message.empty() ? 0 : 1, std::string("\n\nOlvane Gorvel\nv1.0\n\n")),
                  std::make_pair(WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(dir + "/stdout")));
        EXPECT_TRUE(c.message.empty() ? err.empty() : is_report(err, c.message)) << err;
    }
}

TEST(FatalError, WritesMessagesAndImagePathsAsDataAndExitsWithOne) {
    static const std::string LONG_PATH = "data/%s%n" + std::string(6000, 'x') + ".png",
                             TITLE = OG_SOURCE_DIR "/data/title.png";
    const struct { void (*fail)(void); std::string message; } cases[] = {
        {[] { fatal_error("100%s %n %d%%"); }, "100%s %n %d%%"},
        {[] { load_image(LONG_PATH.c_str()); }, "Unable to load image: " + LONG_PATH + "\n"},
        // Without a video mode there is no display format to convert to.
        {[] { SDL_QuitSubSystem(SDL_INIT_VIDEO), SDL_InitSubSystem(SDL_INIT_VIDEO), load_image(TITLE.c_str()); },
         "Unable to load image: " + TITLE + "\n"},
    };
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string err = scratch_folder() + "/stderr";
    for (auto &c : cases) {
        EXPECT_EXIT(if (freopen(err.c_str(), "w", stderr)) c.fail(), ::testing::ExitedWithCode(1), "");
        EXPECT_TRUE(is_report(read_file(err), c.message)) << read_file(err).substr(0, 80);
    }
}
