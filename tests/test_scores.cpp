// The top ten without SDL: insertion and its shifting, the name copy, the
// file's bytes and its score notation, saving and loading in every set-up a
// player may meet, and the name grid of name entry.
#include <gtest/gtest.h>
#include <grp.h>
#include <signal.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
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

void put_file(const char *path, const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }

}  // namespace

// Equal scores go below; row 9 is replaced; the rows below move down. Player
// 1's entry above or on player 0's pushes that highlight down, and out of
// the table from row 9.
TEST(Insertion, RowsShiftAndTheHighlightsFollow) {
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
    struct Pair { int score0, score1, row0, row1; } pairs[] = {
        {450, 850, 7, 2}, {450, 460, 7, 6}, {450, 450, 6, 7}, {450, 250, 6, 9}, {150, 950, -1, 1}};
    for (const Pair &c : pairs) {
        fill_table();
        insert_high_score(0, "P0", c.score0);
        insert_high_score(1, "P1", c.score1);
        EXPECT_EQ(std::make_pair(new_entry_row[0], new_entry_row[1]), std::make_pair(c.row0, c.row1)) << c.score1;
    }
    // A copy takes at most 19 bytes, pads with NUL and never writes the 20th;
    // the sources lie in exact-size arrays, so a read past them trips ASan.
    char full[19], shorter[4] = {'a', 'b', 'c', 0};
    memset(full, 'x', sizeof full);
    for (const char *src : {(const char *)full, (const char *)shorter}) {
        char dest[20];
        memset(dest, '#', sizeof dest);
        copy_name(dest, src);
        size_t n = src == full ? 19 : 3;
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

// Names' bytes, leading spaces and wide scores survive a save and a load;
// bytes past the end of a short file are the end-of-file value cut to a
// byte, 255, and are written back; a long file's rest is dropped; a score
// that is not a number stays and its text begins the next row's name.
TEST(ScoresFile, TheFileKeepsItsBytes) {
    ASSERT_EQ(chdir(scratch_folder().c_str()), 0);
    fill_table();
    memcpy(high_scores[0].name, "Nineteen charactersQ", 20);
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

    std::string table = fill_table();
    put_file("scores", table.substr(0, 27 * 7 + 3));  // cut inside row 7's name
    memset(high_scores, 0, sizeof high_scores);
    load_high_scores();
    EXPECT_EQ(std::make_pair(std::string(high_scores[6].name), high_scores[6].score), std::make_pair(std::string("R6"), 400));
    EXPECT_EQ(std::string(high_scores[7].name, 20), std::string("R7\0", 3) + std::string(17, '\xff'));
    EXPECT_EQ(std::string(high_scores[9].name, 20), std::string(20, '\xff'));
    EXPECT_EQ(high_scores[7].score + high_scores[8].score + high_scores[9].score, 0);
    save_high_scores();
    EXPECT_EQ(read_file("scores").substr(27 * 9, 21), std::string(20, '\xff') + " ");

    put_file("scores", table + record("Extra", 1));
    load_high_scores();
    save_high_scores();
    EXPECT_EQ(read_file("scores"), table);
    table.replace(27 * 3 + 20, 6, "  abc ");
    put_file("scores", table);
    high_scores[3].score = 77;
    load_high_scores();
    EXPECT_EQ(high_scores[3].score, 77);
    EXPECT_EQ(std::string(high_scores[4].name, 20), "abc \n" + record("R4", 0).substr(0, 15));
    ASSERT_EQ(chdir("/"), 0);
}

namespace {

enum Bytes { OLD, NEW, NONE };
const uid_t PLAYER = 65534;  // nobody, nogroup

// Runs the step in a child: as an unprivileged player when asked (as root
// it drops to nobody and fails the test when it cannot), under a 100-byte
// file-size limit with the default SIGXFSZ when asked, stopped after 5 s.
// Returns the child's exit status, or minus the signal that ended it.
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

void give_to_player(const char *path) {
    if (geteuid() == 0 && lchown(path, PLAYER, PLAYER) != 0)
        abort();
}

}  // namespace

// A save replaces a plain file whole or not at all, keeps its mode and
// owner, writes links and shared files in place, leaves alone what the
// player may not write, and never hangs or dies.
TEST(ScoresFile, SaveInEverySetUpKeepsOrReplacesTheTableAsItShould) {
    const struct { const char *what; void (*arrange)(void); bool as_player, size_limit; Bytes scores; mode_t mode; } setups[] = {
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
    for (const auto &s : setups) {
        SCOPED_TRACE(s.what);
        ASSERT_EQ(chdir(scratch_folder().c_str()), 0);
        chmod(".", 0755);
        put_file("scores", "Old");
        chmod("scores", 0644);
        give_to_player(".");
        give_to_player("scores");
        s.arrange();
        const char *file = access("target", F_OK) == 0 ? "target" : "scores";
        struct stat before = {}, after = {}, st;
        bool existed = lstat(file, &before) == 0 && S_ISREG(before.st_mode);
        EXPECT_EQ(in_child(s.as_player, s.size_limit, [] { save_high_scores(); return 0; }), 0) << "the save ended";
        file = access("target", F_OK) == 0 ? "target" : "scores";
        EXPECT_EQ(lstat(file, &after) == 0 && S_ISREG(after.st_mode), s.scores != NONE);
        EXPECT_TRUE(s.scores == NONE || read_file(file) == (s.scores == NEW ? table : "Old"));
        EXPECT_TRUE(!s.mode || (after.st_mode & 07777) == s.mode) << std::oct << after.st_mode;
        EXPECT_TRUE(!existed || after.st_uid == before.st_uid) << "owner kept";
        EXPECT_FALSE(lstat("scores.tmp", &st) == 0 && S_ISREG(st.st_mode)) << "temporary left behind";
        EXPECT_TRUE(access("other", F_OK) != 0 || read_file("other") == table) << "both names see the new table";
        EXPECT_TRUE(access("target", F_OK) != 0 || (lstat("scores", &st) == 0 && S_ISLNK(st.st_mode))) << "still a link";
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
        ASSERT_EQ(chdir(scratch_folder().c_str()), 0);
        s.arrange();
        EXPECT_EQ(in_child(false, false, [] {
            fill_table();
            load_high_scores();
            return high_scores[0].score == 42 ? 42 : high_scores[0].score == 0 && high_scores[9].name[0] == '\0' ? 0 : 1;
        }), s.loaded ? 42 : 0) << s.what;
        ASSERT_EQ(chdir("/"), 0);
    }
}

// The cursor wraps round rows and reading order; a pick types, "{" deletes
// and "}" accepts; the old name goes whole at the first edit; 13 at most.
TEST(NameGrid, CursorAndPicks) {
    auto at = [](char c) { return (int)(strchr(name_grid, c) - name_grid); };
    struct Step { char from; int move; char to; } steps[] = {
        {'A', GRID_UP, '@'}, {'@', GRID_DOWN, 'A'}, {'A', GRID_LEFT, '}'}, {'}', GRID_RIGHT, 'A'},
        {'N', GRID_LEFT, 'M'}, {'M', GRID_RIGHT, 'N'}, {'h', GRID_UP, 'U'}, {'!', GRID_DOWN, '}'},
    };
    for (const Step &s : steps)
        EXPECT_EQ(name_grid[name_cursor_step(at(s.from), s.move)], s.to) << s.from << " " << s.move;
    struct Case { const char *old_name, *keys, *name; int untouched, accept; } cases[] = {
        {"Player 1", "}", "Player 1", 1, 1}, {"Player 1", "Z", "Z", 0, 0}, {"Player 1", "{", "", 0, 0},
        {"Player 1", "{{a", "a", 0, 0}, {"Old", "ABCDEFGHIJKLMNO{", "ABCDEFGHIJKL", 0, 0}, {"Old", " a b}", " a b", 0, 1},
        {"qqqqqqqqqqqqqqqqqqqq", "", "qqqqqqqqqqqqqqqqqqq", 1, 0},  // 20 bytes, no terminator: cut to 19
    };
    for (const Case &c : cases) {
        NameEntry entry;
        name_entry_begin(&entry, c.old_name);
        for (const char *k = c.keys; *k; k++) {
            entry.cursor = at(*k);
            name_entry_pick(&entry);
        }
        EXPECT_STREQ(entry.buffer, c.name) << c.old_name << " + " << c.keys;
        EXPECT_EQ(std::make_pair(entry.untouched, entry.accept), std::make_pair(c.untouched, c.accept)) << c.keys;
    }
}
