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
#include <string>
#include <gtest/gtest.h>
#include "harness.h"
#include "platform/audio.h"
#include "platform/assets.h"
#include "rules/game_state.h"
#include "game/game_flow.h"
#include "platform/platform.h"
#include "platform/seam.h"
#include "rules/table_state.h"

static const char BANNER[] = "\n\nOlvane Gorvel\nv1.0\n\n";

struct Outcome {
    int status;  // -1 unless ended by exit()
    std::string out, err;
};

// A fatal error's report: the message, then exactly one line of SDL's text.
static bool is_report(const std::string &err, const std::string &message) {
    std::string head = message + "\nSDL_GetError: ";
    return err.rfind(head, 0) == 0 && err.find('\n', head.size()) == err.size() - 1;
}

// SDL turns SIGTERM into a quit only once it has installed its handler.
static bool catches_sigterm(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("SigCgt:", 0) == 0)
            return (strtoull(line.c_str() + 7, nullptr, 16) >> (SIGTERM - 1)) & 1;
    return false;
}

// Runs the game in a scratch directory whose data/ lacks the catalogue files
// first..last. With `quit`, SIGTERM asks it to quit as a closed window would.
static Outcome run_game(int first, int last, bool quit = false, const char *video = "dummy",
                        const char *audio = "dummy") {
    char dir[] = "/tmp/og-startup-XXXXXX";
    if (!mkdtemp(dir) || mkdir((std::string(dir) + "/data").c_str(), 0755) != 0)
        abort();
    for (int i = 0; i < ASSET_COUNT; i++)
        if ((i < first || i > last) &&
            symlink((std::string(OG_SOURCE_DIR) + "/" + asset_catalogue[i].path).c_str(),
                    (std::string(dir) + "/" + asset_catalogue[i].path).c_str()) != 0)
            abort();
    std::string out = std::string(dir) + "/stdout", err = std::string(dir) + "/stderr";
    pid_t pid = fork();
    if (pid == 0) {
        int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (o < 0 || e < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0 || chdir(dir) != 0)
            _exit(120);
        setenv("SDL_VIDEODRIVER", video, 1);
        setenv("SDL_AUDIODRIVER", audio, 1);
        // The status is under test, not LeakSanitizer's view of SDL's leftovers.
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        execl(OG_GAME_BINARY, OG_GAME_BINARY, (char *)nullptr);
        _exit(121);
    }
    int status = 0;
    for (int waited_ms = 0; waitpid(pid, &status, WNOHANG) != pid; waited_ms++) {
        if (waited_ms == 30000) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        if (quit && catches_sigterm(pid))
            quit = kill(pid, SIGTERM) != 0;
        usleep(1000);
    }
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(out), read_file(err)};
}

static void expect_fatal(const Outcome &run, const std::string &message) {
    EXPECT_EQ(run.status, 1) << message;
    EXPECT_EQ(run.out, BANNER) << message;
    EXPECT_TRUE(is_report(run.err, message)) << run.err;
}

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

// Each file missing alone, then with everything after it: the report names
// that file, so the catalogue is loaded in its order.
TEST(GameProcess, EachMissingFileStopsStartUpNamingThatImageOrTheSound) {
    for (int i = 0; i < ASSET_COUNT; i++) {
        SCOPED_TRACE(asset_catalogue[i].path);
        std::string image = std::string("Unable to load image: ") + asset_catalogue[i].path + "\n";
        for (int last : {i, ASSET_COUNT - 1})
            expect_fatal(run_game(i, last), i < ASSET_IMAGE_COUNT ? image : "Unable to load sound");
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

static const std::string LONG_PATH = "data/%s%n" + std::string(6000, 'x') + ".png";
static const std::string TITLE = std::string(OG_SOURCE_DIR) + "/data/title.png";

TEST(FatalError, WritesMessagesAndImagePathsAsDataAndExitsWithOne) {
    struct {
        void (*fail)(void);
        std::string message;
    } cases[] = {
        {[] { fatal_error("100%s %n %d%%"); }, "100%s %n %d%%"},
        {[] { load_image(LONG_PATH.c_str()); }, "Unable to load image: " + LONG_PATH + "\n"},
        {[] { load_image(TITLE.c_str()); }, "Unable to load image: " + TITLE + "\n"},
    };
    // Without a video mode there is no display format to convert the title to.
    SDL_Init(SDL_INIT_VIDEO);
    std::string err = "/tmp/og-fatal-" + std::to_string(getpid());
    for (auto &c : cases) {
        EXPECT_EXIT(if (freopen(err.c_str(), "w", stderr)) c.fail(), ::testing::ExitedWithCode(1), "");
        EXPECT_TRUE(is_report(read_file(err), c.message)) << read_file(err).substr(0, 80);
    }
}

TEST(StartUp, SetsTheStartValuesAndSeedsTheShuffleWithTheTicksModulo32000) {
    exit_requested = new_game_requested = table.table_over = 1;
    player_count = 2;
    memset(players, 'x', sizeof players);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    plat_use_virtual_clock(32000 + 1234);
    init_platform();
    set_start_values();
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
