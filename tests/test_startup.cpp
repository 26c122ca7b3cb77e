// Start-up, shutdown and fatal errors: the real game binary run as a child
// process in a scratch directory, and the fatal path run in-process.
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include <SDL_mixer.h>
#include "harness.h"
#include "platform/audio.h"
#include "rules/table_state.h"

namespace {

const char BANNER[] = "\n\nOlvane Gorvel\nv1.0\n\n";

struct Outcome {
    int status;  // -1 unless ended by exit()
    std::string out, err;
};

// A fatal error's report: the message, then exactly one line of SDL's text.
bool is_report(const std::string &err, const std::string &message) {
    std::string head = message + "\nSDL_GetError: ";
    return err.rfind(head, 0) == 0 && err.find('\n', head.size()) == err.size() - 1;
}

// SDL turns SIGTERM into a quit only once it has installed its handler.
bool catches_sigterm(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("SigCgt:", 0) == 0)
            return (strtoull(line.c_str() + 7, nullptr, 16) >> (SIGTERM - 1)) & 1;
    return false;
}

std::string exe_of(pid_t pid) {
    char path[4096];
    ssize_t n = readlink(("/proc/" + std::to_string(pid) + "/exe").c_str(), path, sizeof path);
    return n > 0 ? std::string(path, (size_t)n) : "";
}

// Runs the game in a scratch directory whose data/ lacks the catalogue files
// first..last. With `quit`, SIGTERM asks it to quit as a closed window would.
Outcome run_game(int first, int last, bool quit = false, const char *video = "dummy",
                        const char *audio = "dummy") {
    std::string dir = scratch_folder();
    if (mkdir((dir + "/data").c_str(), 0755) != 0)
        abort();
    for (int i = 0; i < ASSET_COUNT; i++)
        if ((i < first || i > last) &&
            symlink((std::string(OG_SOURCE_DIR) + "/" + asset_catalogue[i].path).c_str(),
                    (dir + "/" + asset_catalogue[i].path).c_str()) != 0)
            abort();
    std::string out = dir + "/stdout", err = dir + "/stderr";
    // The child of a process with SDL's threads may not allocate: its
    // environment is made here. The status is under test, not
    // LeakSanitizer's view of SDL's leftovers.
    std::vector<std::string> env = {std::string("SDL_VIDEODRIVER=") + video, std::string("SDL_AUDIODRIVER=") + audio,
                                    "ASAN_OPTIONS=detect_leaks=0"};
    for (char **e = environ; *e; e++)
        if (strncmp(*e, "SDL_", 4) != 0 && strncmp(*e, "ASAN_OPTIONS=", 13) != 0)
            env.push_back(*e);
    std::vector<char *> envp;
    for (std::string &e : env)
        envp.push_back(&e[0]);
    envp.push_back(nullptr);
    char *argv[] = {(char *)OG_GAME_BINARY, nullptr};
    pid_t pid = fork();
    if (pid == 0) {
        int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (o < 0 || e < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0 || chdir(dir.c_str()) != 0)
            _exit(120);
        execve(OG_GAME_BINARY, argv, envp.data());
        _exit(121);
    }
    int status = 0;
    for (int waited_ms = 0; waitpid(pid, &status, WNOHANG) != pid; waited_ms++) {
        if (waited_ms == 30000) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        // Before its exec the child is a copy of this process, whose SDL
        // handler it must not meet.
        if (quit && exe_of(pid) != exe_of(getpid()) && catches_sigterm(pid))
            quit = kill(pid, SIGTERM) != 0;
        usleep(1000);
    }
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(out), read_file(err)};
}

void expect_fatal(const Outcome &run, const std::string &message) {
    EXPECT_EQ(run.status, 1) << message;
    EXPECT_EQ(run.out, BANNER) << message;
    EXPECT_TRUE(is_report(run.err, message)) << run.err;
}

// The files load in this order, images first; a missing one stops start-up
// and, for an image, is named: the first missing one in this order.
const char ORDER[] =
    "tile_normal tile_highlighted numbers tablecleared gorvel1 gorvel2 gorvel3 gorvel4 gorvel_popup font1 "
    "font1_hilite font2 font2_hilite font3 selector background ready timesup congrats gameover player1 player2 "
    "winner topgorvels oneplayerscore_header twoplayerscore_header button_newgame button_resume button_quit "
    "button_highscores button_instructions button_menu button_takescore button_player1 button_player2 button_ok "
    "timer_image title background_tile instructions button_takescore_sure chime1 click1 click2 click3 nono good";

}  // namespace

TEST(GameProcess, PrintsOnlyTheBannerAndEndsWithZeroWhenAskedToQuit) {
    // Under qemu's user mode the emulator itself catches SIGTERM from the first
    // instruction, so there is no telling when the game's handler listens.
    if (getenv("QEMU_LD_PREFIX"))
        GTEST_SKIP() << "the signal mask is qemu's, not the game's";
    Outcome run = run_game(ASSET_COUNT, ASSET_COUNT, true);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, BANNER);
    EXPECT_EQ(run.err, "");
}

TEST(GameProcess, MissingFilesStopStartUpAtTheFirstInCatalogueOrder) {
    std::istringstream names(ORDER);
    std::string name;
    for (int i = 0; names >> name; i++)
        EXPECT_EQ(asset_catalogue[i].path, "data/" + name + (i < ASSET_IMAGE_COUNT ? ".png" : ".wav"));
    // Missing files from `first` to `last`.
    struct Case { int first, last; } cases[] = {{0, 0}, {17, ASSET_COUNT - 1}, {40, 40}, {41, 41}, {46, 46}};
    for (const Case &c : cases) {
        const char *path = asset_catalogue[c.first].path;
        expect_fatal(run_game(c.first, c.last),
                     c.first < ASSET_IMAGE_COUNT ? "Unable to load image: " + std::string(path) + "\n"
                                                 : "Unable to load sound");
    }
}

TEST(GameProcess, AnUnusableDisplayOrAudioDeviceIsFatal) {
    // The maintained SDL 1.2 refuses an unknown audio driver in SDL_Init.
    const char *audio_failure = sdl_is_maintained() ? "Unable to initialize SDL"
                                                    : "Unable to initialize audio";
    struct {
        const char *video, *audio, *message;
    } cases[] = {{"no-such-video", "dummy", "Unable to initialize SDL"},
                 {"dummy", "no-such-audio", audio_failure}};
    for (auto &c : cases)
        expect_fatal(run_game(ASSET_COUNT, ASSET_COUNT, false, c.video, c.audio), c.message);
}

namespace {

const std::string LONG_PATH = "data/%s%n" + std::string(6000, 'x') + ".png";
const std::string TITLE = std::string(OG_SOURCE_DIR) + "/data/title.png";

}  // namespace

TEST(FatalError, WritesMessagesAndImagePathsAsDataAndExitsWithOne) {
    struct {
        void (*fail)(void);
        std::string message;
    } cases[] = {
        {[] { fatal_error("100%s %n %d%%"); }, "100%s %n %d%%"},
        {[] { load_image(LONG_PATH.c_str()); }, "Unable to load image: " + LONG_PATH + "\n"},
        {[] {
             SDL_QuitSubSystem(SDL_INIT_VIDEO);
             SDL_InitSubSystem(SDL_INIT_VIDEO);
             load_image(TITLE.c_str());
         },
         "Unable to load image: " + TITLE + "\n"},
    };
    // Without a video mode there is no display format to convert the title to.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string err = scratch_folder() + "/stderr";
    for (auto &c : cases) {
        EXPECT_EXIT(if (freopen(err.c_str(), "w", stderr)) c.fail(), ::testing::ExitedWithCode(1), "");
        EXPECT_TRUE(is_report(read_file(err), c.message)) << read_file(err).substr(0, 80);
    }
}

TEST(StartUp, SetsTheStartValuesAndSeedsTheShuffleWithTheTicksModulo32000) {
    harness_start();
    exit_requested = new_game_requested = table.table_over = 1;
    player_count = 2;
    memset(players, 'x', sizeof players);
    set_start_values();
    plat_advance(32000 * 3 + 1234 - now_ms() % 32000);
    volume_up();
    init_platform();
    Mix_CloseAudio();  // the harness's device stays open
    int first = rand();
    srand(1234);
    EXPECT_EQ(first, rand());
    EXPECT_EQ(player_count, 1);
    EXPECT_EQ(exit_requested + new_game_requested + table.table_over, 0);
    EXPECT_EQ(get_volume(), 90);
    const char names[2][sizeof players[0].name] = {"Player 1", "Player 2"};
    for (int p = 0; p < 2; p++)
        EXPECT_EQ(memcmp(players[p].name, names[p], sizeof names[p]), 0) << p;
}
