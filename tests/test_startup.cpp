// Start-up, shutdown and fatal errors: the real game binary run as a child
// process in a scratch directory, and the fatal path run in-process.
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <gtest/gtest.h>
#include "harness.h"
#include "input/input.h"
#include "input/sound.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/platform.h"
#include "table/table_state.h"

using ::testing::ExitedWithCode;
using ::testing::MatchesRegex;

static const char BANNER[] = "\n\nOlvane Gorvel\nv1.0\n\n";

struct RunResult {
    bool exited;  // ended by exit(), not by a signal or our timeout
    int status;
    std::string out, err;
};

// A scratch working directory whose data/ holds links to every catalogue
// file except those in `missing`.
static std::string make_game_dir(const std::set<int> &missing) {
    char dir[] = "/tmp/og-startup-XXXXXX";
    if (!mkdtemp(dir))
        abort();
    std::string data = std::string(dir) + "/data";
    mkdir(data.c_str(), 0755);
    for (int i = 0; i < ASSET_COUNT; i++) {
        if (missing.count(i))
            continue;
        std::string from = std::string(OG_SOURCE_DIR) + "/" + asset_paths[i];
        std::string to = std::string(dir) + "/" + asset_paths[i];
        if (symlink(from.c_str(), to.c_str()) != 0)
            abort();
    }
    return dir;
}

// SDL has installed its SIGTERM handler (which turns the signal into
// SDL_QUIT) once the process catches the signal.
static bool catches_sigterm(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("SigCgt:", 0) == 0) {
            unsigned long long mask = strtoull(line.c_str() + 7, nullptr, 16);
            return (mask >> (SIGTERM - 1)) & 1;
        }
    return false;
}

// Runs the game in `dir`. With `quit_when_running`, SIGTERM asks it to quit
// as a closed window would, once SDL listens for that.
static RunResult run_game(const std::string &dir, bool quit_when_running,
                          const char *video = "dummy", const char *audio = "dummy") {
    std::string out_path = dir + "/stdout", err_path = dir + "/stderr";
    pid_t pid = fork();
    if (pid == 0) {
        int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || chdir(dir.c_str()) != 0)
            _exit(120);
        dup2(out, 1);
        dup2(err, 2);
        setenv("SDL_VIDEODRIVER", video, 1);
        setenv("SDL_AUDIODRIVER", audio, 1);
        // The game's status is under test, not LeakSanitizer's verdict on
        // what SDL keeps after SDL_Quit.
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        execl(OG_GAME_BINARY, OG_GAME_BINARY, (char *)nullptr);
        _exit(121);
    }
    RunResult result = {false, -1, "", ""};
    int status = 0, sent = 0;
    for (int waited_ms = 0; waited_ms < 30000; waited_ms++) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            result.exited = WIFEXITED(status);
            result.status = result.exited ? WEXITSTATUS(status) : -1;
            break;
        }
        if (quit_when_running && !sent && catches_sigterm(pid))
            sent = kill(pid, SIGTERM) == 0;
        usleep(1000);
    }
    if (result.status == -1 && !result.exited) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    result.out = read_file(out_path);
    result.err = read_file(err_path);
    return result;
}

static int asset_index(const char *path) {
    for (int i = 0; i < ASSET_COUNT; i++)
        if (strcmp(asset_paths[i], path) == 0)
            return i;
    abort();
}

// The text as a regular expression matching exactly itself.
static std::string literal(const std::string &text) {
    std::string re;
    for (char c : text) {
        if (strchr(".[]{}()\\*+?^$|", c))
            re += '\\';
        re += c;
    }
    return re;
}

// The report of a fatal error: the message, then one line of SDL's text.
static std::string fatal_report(const std::string &message) {
    return literal(message) + "\nSDL_GetError: [^\n]*\n";
}

static bool matches(const std::string &text, const std::string &re) {
    return std::regex_match(text, std::regex(re, std::regex::extended));
}

static void expect_failure_at(const RunResult &run, int asset, const char *context) {
    EXPECT_TRUE(run.exited) << context;
    EXPECT_EQ(run.status, 1) << context;
    EXPECT_EQ(run.out, BANNER) << context;
    std::string message = asset < ASSET_IMAGE_COUNT
                              ? std::string("Unable to load image: ") + asset_paths[asset] + "\n"
                              : "Unable to load sound";
    EXPECT_TRUE(matches(run.err, fatal_report(message))) << context << ": " << run.err;
}

TEST(GameProcess, EndsWithStatusZeroAndPrintsOnlyTheBannerWhenEverythingIsPresent) {
    RunResult run = run_game(make_game_dir({}), true);
    EXPECT_TRUE(run.exited);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, BANNER);
    EXPECT_EQ(run.err, "");
}

TEST(GameProcess, EachMissingFileStopsStartUpNamingThatImageOrTheSound) {
    for (int i = 0; i < ASSET_COUNT; i++)
        expect_failure_at(run_game(make_game_dir({i}), false), i, asset_paths[i]);
}

TEST(GameProcess, LoadsTheCatalogueInItsOrder) {
    // With a file and everything after it missing, the report names that
    // file only if every earlier one was loaded first and it was next.
    for (int i = 0; i < ASSET_COUNT; i += 3) {
        std::set<int> tail;
        for (int j = i; j < ASSET_COUNT; j++)
            tail.insert(j);
        expect_failure_at(run_game(make_game_dir(tail), false), i, asset_paths[i]);
    }
}

TEST(GameProcess, AFileThatIsNotAnImageOrASoundIsFatalToo) {
    const int broken[] = {asset_index("data/title.png"), asset_index("data/click2.wav")};
    for (int asset : broken) {
        std::string dir = make_game_dir({asset});
        std::ofstream(dir + "/" + asset_paths[asset]) << "not what the name says\n";
        expect_failure_at(run_game(dir, false), asset, asset_paths[asset]);
    }
}

TEST(GameProcess, AnUnusableDisplayOrAudioDeviceIsFatal) {
    struct {
        const char *video, *audio, *message;
    } cases[] = {
        {"no-such-video", "dummy", "Unable to initialize SDL"},
        {"dummy", "no-such-audio", "Unable to initialize audio"},
    };
    // The maintained SDL 1.2 refuses an unknown audio driver in SDL_Init.
    if (sdl_is_maintained())
        cases[1].message = "Unable to initialize SDL";
    for (auto &c : cases) {
        RunResult run = run_game(make_game_dir({}), false, c.video, c.audio);
        EXPECT_EQ(run.status, 1) << c.message;
        EXPECT_EQ(run.out, BANNER);
        EXPECT_TRUE(matches(run.err, fatal_report(c.message))) << run.err;
    }
}

// ---- the fatal path in-process ---------------------------------------------

TEST(FatalError, WritesTheMessageAsDataThenSdlsErrorAndExitsWithOne) {
    const char *messages[] = {"Unable to initialize video", "100%s %n %d%%", ""};
    for (const char *message : messages)
        EXPECT_EXIT(
            {
                SDL_SetError("the cause");
                fatal_error(message);
            },
            ExitedWithCode(1), ::testing::Eq(std::string(message) + "\nSDL_GetError: the cause\n"));
}

TEST(FatalError, AnImagePathOfAnyLengthIsNamedWholeAndLiterally) {
    std::string path = "data/%s%n" + std::string(6000, 'x') + ".png";
    EXPECT_EXIT(load_image(path.c_str()), ExitedWithCode(1),
                MatchesRegex(fatal_report("Unable to load image: " + path + "\n")));
}

TEST(FatalError, AnImageThatCannotBeConvertedToTheDisplayIsFatal) {
    // Without a video mode there is no display format to convert to.
    std::string path = std::string(OG_SOURCE_DIR) + "/data/title.png";
    EXPECT_EXIT(
        {
            setenv("SDL_VIDEODRIVER", "dummy", 1);
            SDL_Init(SDL_INIT_VIDEO);
            load_image(path.c_str());
        },
        ExitedWithCode(1), MatchesRegex(fatal_report("Unable to load image: " + path + "\n")));
}

// ---- start values ------------------------------------------------------------

TEST(StartUp, SetsTheDisplayAndTheGamesStartValues) {
    exit_requested = 1;
    new_game_requested = 1;
    player_count = 2;
    table.table_over = 1;
    memset(players, 'x', sizeof players);
    harness_start();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, 320);
    EXPECT_EQ(screen->h, 240);
    EXPECT_EQ(screen->format->BitsPerPixel, 16);
    EXPECT_EQ(player_count, 1);
    EXPECT_EQ(exit_requested, 0);
    EXPECT_EQ(new_game_requested, 0);
    EXPECT_EQ(table.table_over, 0);
    const char *names[] = {"Player 1", "Player 2"};
    for (int p = 0; p < 2; p++) {
        EXPECT_STREQ(players[p].name, names[p]);
        for (int i = 8; i < 20; i++)
            EXPECT_EQ(players[p].name[i], 0) << "player " << p << " byte " << i;
    }
    EXPECT_EQ(get_volume(), 90);
    EXPECT_EQ(Mix_Volume(0, -1), 90);
    EXPECT_EQ(muted, 0);
    EXPECT_EQ(volume_shown_until, 0u);
    char *title = nullptr, *icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_STREQ(title, "Olvane Gorvel");
}

TEST(StartUp, SeedsTheShuffleWithTheTickCountModulo32000) {
    // Two starts whose tick counts differ by 32000 shuffle alike.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    plat_use_virtual_clock(32000 + 1234);
    init_platform();
    int first = rand();
    srand(1234);
    EXPECT_EQ(first, rand());
}
