// The top-ten table without SDL: insertion and its shifting, the name copy,
// the score notation of the file, whole files read and written in every
// set-up a player may meet, and the name grid of name entry.
#include <gtest/gtest.h>
#include <grp.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fstream>
#include <sstream>
#include <string>
#include "rules/high_scores.h"
#include "rules/name_grid.h"
#include "scratch.h"

namespace {

// One record as the game writes it.
std::string record(const char *name, int score) {
    char text[16];
    snprintf(text, sizeof text, "%6i\n", score);
    return std::string(name) + std::string(20 - strlen(name), '\0') + text;
}

// Scores 1000, 900, ... 100 with names "R0".."R9"; returns their file.
std::string fill_table(void) {
    std::string bytes;
    memset(high_scores, 0, sizeof high_scores);
    for (int i = 0; i < 10; i++) {
        snprintf(high_scores[i].name, 20, "R%i", i);
        high_scores[i].score = 1000 - 100 * i;
        bytes += record(high_scores[i].name, high_scores[i].score);
    }
    return bytes;
}

void enter_fresh_dir(void) {
    if (chdir(scratch_folder().c_str()) != 0)
        abort();
}

void put_file(const char *path, const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string read_file(const char *path) {
    std::stringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

}  // namespace

// Equal scores go below; row 9 is replaced; the rows below move down.
TEST(Insertion, RowIsBelowEqualScoresAndTheRowsBelowMoveDown) {
    struct Case { int score, row; } cases[] = {{1001, 0}, {1000, 1}, {650, 4}, {101, 9}, {100, -1}, {-5, -1}};
    for (const Case &c : cases) {
        fill_table();
        EXPECT_EQ(score_qualifies(c.score), c.row >= 0) << c.score;
        EXPECT_EQ(insert_high_score(0, "New", c.score), c.row) << c.score;
        for (int i = 0; i < 10; i++) {
            int old = c.row < 0 || i < c.row ? i : i - 1;  // the row it came from
            EXPECT_EQ(high_scores[i].name, i == c.row ? "New" : "R" + std::to_string(old)) << c.score << " " << i;
            EXPECT_EQ(high_scores[i].score, i == c.row ? c.score : 1000 - 100 * old) << c.score << " " << i;
        }
    }
}

// Player 0 always enters first; player 1's entry above or on its row pushes
// its highlight down, and out of the table from row 9.
TEST(Insertion, SecondPlayerAboveFirstPushesTheFirstHighlightDown) {
    struct Case { int score0, score1, row0, row1; } cases[] = {
        {450, 850, 7, 2}, {450, 460, 7, 6}, {450, 450, 6, 7}, {450, 250, 6, 9}, {150, 950, -1, 1},
    };
    for (const Case &c : cases) {
        fill_table();
        insert_high_score(0, "P0", c.score0);
        insert_high_score(1, "P1", c.score1);
        EXPECT_EQ(new_entry_row[0], c.row0) << c.score0 << " " << c.score1;
        EXPECT_EQ(new_entry_row[1], c.row1) << c.score0 << " " << c.score1;
    }
}

TEST(NameCopy, AtMostNineteenBytesPaddedWithNulAndTheLastByteKept) {
    // Sources live in exact-size arrays so a read past 19 bytes trips ASan.
    char full[19], empty[1] = {0}, shorter[4] = {'a', 'b', 'c', 0};
    memset(full, 'x', sizeof full);
    for (const char *src : {(const char *)full, (const char *)empty, (const char *)shorter}) {
        char dest[20];
        memset(dest, '#', sizeof dest);
        copy_name(dest, src);
        size_t n = src == full ? 19 : strlen(src);
        EXPECT_EQ(std::string(dest, 20), std::string(src, n) + std::string(19 - n, '\0') + "#");
    }
}

// Six-character fields read exactly as sscanf's "%6i" would; a decimal field
// that fills all six and goes on in digits to the line feed is a wide score,
// read whole and clamped to 32 bits.
TEST(ScoreField, ReadsAsTheFormattedConversionAndWideScoresWhole) {
    // Cases without an expected length are checked against sscanf.
    struct Case { const char *text; int32_t score = 0; long consumed = 0; } cases[] = {
        {"   123\n"}, {"999999\n"}, {"-99999\n"}, {"     0\n"}, {"+42\n"}, {"1234567x"}, {"12345678a"},
        {"0x1fz"}, {"-0x1F\n"}, {"0xffff1"}, {"0x"}, {"0xg"}, {"0777"}, {"08"}, {"012345\n"}, {"0123456\n"},
        {"+"}, {"-a"}, {"+-1"}, {"abc"}, {""}, {"\t\v\f\r 7"}, {"1e5"}, {"\xff\x31\x32"}, {"-1234567x"},
        {"  \n  12\n"}, {"1234567\n", 1234567, 7}, {"-1234567\n", -1234567, 8}, {"1234567", 1234567, 7},
        {"2147483647\n", INT32_MAX, 10}, {"-2147483648\n", INT32_MIN, 11}, {"2147483648\n", INT32_MAX, 10},
        {"-99999999999999999999\n", INT32_MIN, 21},
        {"1234567x\n", 123456, 6},  // not a number up to the line feed
        {"0123456\n", 012345, 6},   // only decimal fields widen
    };
    for (const Case &c : cases) {
        int want = c.consumed ? c.score : -7, want_n = (int)c.consumed;
        int want_ok = c.consumed || sscanf(c.text, "%6i%n", &want, &want_n) == 1;
        int32_t got = -7;
        FILE *in = fmemopen((void *)c.text, strlen(c.text), "rb");
        EXPECT_EQ(read_score_field(in, &got), want_ok) << c.text;
        EXPECT_EQ(got, want) << c.text;
        EXPECT_TRUE(!want_ok || ftell(in) == want_n) << c.text;
        fclose(in);
    }
}

TEST(ScoresFile, RoundTripKeepsNamesBytesAndScoresExactly) {
    enter_fresh_dir();
    fill_table();
    memcpy(high_scores[0].name, "Nineteen charactersQ", 20);  // a loaded 20th byte is written back
    high_scores[0].score = 123456;  // fills all six columns before the spaces that start row 1
    strcpy(high_scores[1].name, "  leading spaces");
    const int32_t scores[] = {-99999, 1234, 98765432, -123456, INT32_MAX, INT32_MIN};
    for (int i = 0; i < 6; i++)
        high_scores[i + 2].score = scores[i];
    const std::string saved((const char *)high_scores, sizeof high_scores);
    save_high_scores();
    std::string bytes = read_file("scores");
    EXPECT_EQ(bytes.size(), 270u + 2 + 1 + 4 + 5);  // the wide scores' extra characters
    EXPECT_EQ(bytes.substr(0, 27), "Nineteen charactersQ123456\n");
    memset(high_scores, 0, sizeof high_scores);
    load_high_scores();
    EXPECT_EQ(std::string((const char *)high_scores, sizeof high_scores), saved);
}

// Without a file every row is empty. Bytes past the end of a short file are
// the end-of-file value cut to a byte, 255, and a save writes them back.
TEST(ScoresFile, MissingFileEmptiesEveryRowAndAShortOneEndsIn255) {
    enter_fresh_dir();
    std::string table = fill_table();
    load_high_scores();
    for (const HighScoreEntry &row : high_scores)
        EXPECT_TRUE(row.name[0] == '\0' && row.score == 0);
    put_file("scores", table.substr(0, 27 * 7 + 3));  // cut inside row 7's name
    load_high_scores();
    EXPECT_STREQ(high_scores[6].name, "R6");
    EXPECT_EQ(high_scores[6].score, 400);
    EXPECT_EQ(std::string(high_scores[7].name, 20), std::string("R7\0", 3) + std::string(17, '\xff'));
    EXPECT_EQ(std::string(high_scores[9].name, 20), std::string(20, '\xff'));
    for (int i = 7; i < 10; i++)
        EXPECT_EQ(high_scores[i].score, 0);
    save_high_scores();
    EXPECT_EQ(read_file("scores").substr(27 * 9, 21), std::string(20, '\xff') + " ");
}

TEST(ScoresFile, LongAndNonNumericFiles) {
    enter_fresh_dir();
    std::string bytes = fill_table() + record("Extra", 1) + record("Extra", 2);
    put_file("scores", bytes);
    memset(high_scores, 0, sizeof high_scores);
    load_high_scores();
    save_high_scores();
    EXPECT_EQ(read_file("scores"), bytes.substr(0, 270));

    // A score that is not a number stays as it was, and its text becomes
    // the start of the next row's name.
    bytes.replace(27 * 3 + 20, 6, "  abc ");
    put_file("scores", bytes);
    high_scores[3].score = 77;
    high_scores[4].score = 88;
    load_high_scores();
    EXPECT_EQ(high_scores[3].score, 77);
    EXPECT_EQ(std::string(high_scores[4].name, 20), "abc \n" + record("R4", 0).substr(0, 15));
    EXPECT_EQ(high_scores[4].score, 88);  // misaligned: NUL bytes where its score was
}

namespace {

enum Bytes { OLD, NEW, NONE };
const char OLD_BYTES[] = "Old";
const uid_t PLAYER = 65534;  // nobody, nogroup

struct SaveSetup {
    const char *what;
    void (*arrange)(void);  // in a fresh folder holding "scores" = OLD_BYTES, 0644
    bool as_player, size_limit;
    Bytes scores;           // what "scores" (or the file it names) holds after the save
    mode_t mode;            // its permission bits then, 0 to skip the check
};

// Runs the step in a child: as an unprivileged player when asked (as root
// it drops to nobody and fails the test when it cannot), under a 100-byte
// file-size limit with the default SIGXFSZ when asked, stopped after 5 s.
// Returns the child's exit status; -signal when a signal ended it.
int in_child(bool as_player, bool size_limit, int (*step)(void)) {
    pid_t pid = fork();
    if (pid == 0) {
        alarm(5);
        signal(SIGXFSZ, SIG_DFL);
        umask(022);
        if (as_player && geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(PLAYER) != 0 || setuid(PLAYER) != 0))
            _exit(90);
        struct rlimit limit = {100, 100};
        if (size_limit && setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(91);
        _exit(step());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

// The player owns the folder and the file unless a set-up says otherwise.
void give_to_player(const char *path) {
    if (geteuid() == 0 && lchown(path, PLAYER, PLAYER) != 0)
        abort();
}

}  // namespace

// Every set-up a player may meet: a save replaces a plain file whole or not
// at all, keeps its mode and owner, writes links and shared files in place,
// leaves alone what the player may not write, and never hangs or dies.
TEST(ScoresFile, SaveInEverySetUpKeepsOrReplacesTheTableAsItShould) {
    const SaveSetup setups[] = {
        {"no file yet", [] { unlink("scores"); }, false, false, NEW, 0644},
        {"mode 640 kept", [] { chmod("scores", 0640); }, false, false, NEW, 0640},
        {"mode 666 kept", [] { chmod("scores", 0666); }, false, false, NEW, 0666},
        {"a stale temporary", [] { put_file("scores.tmp", "junk"); }, false, false, NEW, 0644},
        {"the temporary cannot be made", [] { mkdir("scores.tmp", 0755); }, false, false, NEW, 0644},
        {"a second name", [] { link("scores", "other"); }, false, false, NEW, 0644},
        {"a symlink", [] { rename("scores", "target"); symlink("target", "scores"); }, false, false, NEW, 0644},
        {"a link to nowhere", [] { unlink("scores"); symlink("target", "scores"); }, false, false, NEW, 0644},
        {"a size limit", [] {}, false, true, OLD, 0644},
        {"scores is a folder", [] { unlink("scores"); mkdir("scores", 0755); }, false, false, NONE, 0},
        {"scores is a FIFO", [] { unlink("scores"); mkfifo("scores", 0644); }, false, false, NONE, 0},
        {"a read-only folder", [] { chmod("scores", 0666); chmod(".", 0555); }, true, false, NEW, 0666},
        {"a read-only file", [] { chmod("scores", 0444); }, true, false, OLD, 0444},
        {"another owner's shared file", [] {
             if (geteuid() == 0 && chown("scores", 0, PLAYER) != 0)
                 abort();
             chmod("scores", 0664);
         }, true, false, NEW, 0664},
    };
    const std::string table = fill_table();
    for (const SaveSetup &s : setups) {
        SCOPED_TRACE(s.what);
        std::string dir = scratch_folder();
        ASSERT_EQ(chdir(dir.c_str()), 0);
        chmod(".", 0755);
        put_file("scores", OLD_BYTES);
        chmod("scores", 0644);
        give_to_player(".");
        give_to_player("scores");
        s.arrange();
        const char *file = access("target", F_OK) == 0 ? "target" : "scores";
        struct stat before = {};
        bool existed = lstat(file, &before) == 0 && S_ISREG(before.st_mode);
        EXPECT_EQ(in_child(s.as_player, s.size_limit, [] { save_high_scores(); return 0; }), 0)
            << "the save ran to its end";
        file = access("target", F_OK) == 0 ? "target" : "scores";
        struct stat after = {};
        EXPECT_EQ(lstat(file, &after) == 0 && S_ISREG(after.st_mode), s.scores != NONE);
        EXPECT_TRUE(s.scores == NONE || read_file(file) == (s.scores == NEW ? table : OLD_BYTES));
        EXPECT_TRUE(!s.mode || (after.st_mode & 07777) == s.mode) << std::oct << after.st_mode;
        EXPECT_TRUE(!existed || after.st_uid == before.st_uid) << "owner kept";
        struct stat st;
        EXPECT_FALSE(lstat("scores.tmp", &st) == 0 && S_ISREG(st.st_mode)) << "temporary left behind";
        EXPECT_TRUE(access("other", F_OK) != 0 || read_file("other") == table) << "both names see the new table";
        EXPECT_TRUE(access("target", F_OK) != 0 || (lstat("scores", &st) == 0 && S_ISLNK(st.st_mode)))
            << "the link stays a link";
        ASSERT_EQ(chdir("/"), 0);
    }
}

// Only a regular file is read: a FIFO, a folder or a device gives the empty
// table at once.
TEST(ScoresFile, LoadReadsOnlyARegularFile) {
    const struct { const char *what; void (*arrange)(void); bool loaded; } setups[] = {
        {"a FIFO", [] { mkfifo("scores", 0644); }, false},
        {"a link to a FIFO", [] { mkfifo("fifo", 0644); symlink("fifo", "scores"); }, false},
        {"a folder", [] { mkdir("scores", 0755); }, false},
        {"a device", [] { symlink("/dev/zero", "scores"); }, false},
        {"a link to a file", [] { put_file("target", record("Linked", 42)); symlink("target", "scores"); }, true},
    };
    for (const auto &s : setups) {
        SCOPED_TRACE(s.what);
        std::string dir = scratch_folder();
        ASSERT_EQ(chdir(dir.c_str()), 0);
        s.arrange();
        int status = in_child(false, false, [] {
            fill_table();
            load_high_scores();
            return high_scores[0].score == 42 ? 42 : high_scores[0].score == 0 && high_scores[9].name[0] == '\0' ? 0 : 1;
        });
        EXPECT_EQ(status, s.loaded ? 42 : 0);
        ASSERT_EQ(chdir("/"), 0);
    }
}

namespace {

int grid_index(char c) { return (int)(strchr(name_grid, c) - name_grid); }

}  // namespace

TEST(NameGrid, CursorWrapsRoundRowsAndReadingOrder) {
    struct Case { char from; int move; char to; } cases[] = {
        {'A', GRID_UP, '@'},   {'@', GRID_DOWN, 'A'}, {'A', GRID_LEFT, '}'}, {'}', GRID_RIGHT, 'A'},
        {'N', GRID_LEFT, 'M'}, {'M', GRID_RIGHT, 'N'}, {'h', GRID_UP, 'U'},  {'!', GRID_DOWN, '}'},
    };
    for (const Case &c : cases)
        EXPECT_EQ(name_grid[name_cursor_step(grid_index(c.from), c.move)], c.to) << c.from << " " << c.move;
}

TEST(NameGrid, PicksTypeDeleteAndAccept) {
    struct Case { const char *old_name, *keys, *name; int untouched, accept; } cases[] = {
        {"Player 1", "}", "Player 1", 1, 1},                // accepting at once keeps the old name
        {"Player 1", "Z", "Z", 0, 0},                       // the first character replaces it
        {"Player 1", "{", "", 0, 0},                        // the first delete clears it
        {"Player 1", "{{a", "a", 0, 0},
        {"Old", "ABCDEFGHIJKLMNO", "ABCDEFGHIJKLM", 0, 0},  // 13 at most
        {"Old", " a b}", " a b", 0, 1},                      // space is a character, also first
        // An old name of 20 bytes with no terminator is cut to 19.
        {"qqqqqqqqqqqqqqqqqqqq", "", "qqqqqqqqqqqqqqqqqqq", 1, 0},
    };
    for (const Case &c : cases) {
        NameEntry entry;
        name_entry_begin(&entry, c.old_name);
        for (const char *k = c.keys; *k; k++) {
            entry.cursor = grid_index(*k);
            name_entry_pick(&entry);
        }
        EXPECT_STREQ(entry.buffer, c.name) << c.old_name << " + " << c.keys;
        EXPECT_EQ(entry.untouched, c.untouched) << c.keys;
        EXPECT_EQ(entry.accept, c.accept) << c.keys;
    }
}
