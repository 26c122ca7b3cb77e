// The top ten without SDL: insertion, the file, saves and loads in every set-up and by games at once, the name grid.
#include <gtest/gtest.h>
#include <dirent.h>
#include <grp.h>
#include <signal.h>
#include <string.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include "game/scores_file.h"
#include "rules/high_scores.h"
#include "rules/name_grid.h"
#include "scratch.h"

namespace {

std::string record(const std::string &name, int score) {
    char text[16];
    snprintf(text, sizeof text, "%6i\n", score);
    return (name + std::string(20, '\0')).substr(0, 20) + text;
}

void put_file(const char *path, const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }
void read_from(const std::string &bytes) { put_file("scores", bytes), load_high_scores(); }
std::string written(void) { return save_high_scores(), read_file("scores"); }

// In a fresh scratch folder. Names of every length show a copy that does not pad.
std::string fill_table(void) {
    std::string bytes;
    for (int i = 0; i < 10; i++)
        bytes += record(std::string(i + 1, 'A' + i), 1000 - 100 * i);
    EXPECT_EQ(chdir(scratch_folder().c_str()), 0);
    read_from(bytes);
    return bytes;
}

const uid_t PLAYER = 65534;  // nobody, nogroup
const gid_t STRANGERS = 4242;  // a group nobody here is in
const char ACL[] = "system.posix_acl_access";

std::string acl_of(const char *path) {
    char value[256];
    ssize_t n = lgetxattr(path, ACL, value, sizeof value);
    return n < 0 ? "" : std::string(value, (size_t)n);
}

// The regular files a save would take for temporaries; when `held`, only those whose save holds the lock.
std::string temporaries(bool held = false) {
    std::string names;
    DIR *folder = opendir(".");
    for (dirent *e; (e = readdir(folder)) != nullptr;) {
        int fd = e->d_type == DT_REG && strncmp(e->d_name, "scores.tmp", 10) == 0 ? open(e->d_name, O_RDONLY) : -1;
        if (fd >= 0 && (!held || flock(fd, LOCK_SH | LOCK_NB) != 0))
            names += std::string(e->d_name) + " ";
        close(fd);
    }
    closedir(folder);
    return names;
}

// A step run in a child stopped after 5 s, by root, the player (or fail) or root under a 100-byte size limit with
// SIGXFSZ's default action; the step's status or -signal.
enum Saver { AS_ROOT, AS_PLAYER, SIZE_LIMITED };
int in_child(Saver by, int (*step)(void)) {
    pid_t pid = fork();
    if (pid == 0) {
        alarm(5);
        signal(SIGXFSZ, SIG_DFL);
        umask(022);
        struct rlimit limit = {100, 100};
        bool dropped = by != AS_PLAYER || geteuid() != 0 || (!setgroups(0, nullptr) && !setgid(PLAYER) && !setuid(PLAYER));
        _exit(!dropped ? 90 : by == SIZE_LIMITED && setrlimit(RLIMIT_FSIZE, &limit) != 0 ? 91 : step());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}


}  // namespace

// Player 0 enters score0 at row, then player 1 score1; row0 and row1 are lit after both.
TEST(Insertion, RowsShiftAndTheHighlightsFollow) {
    char name[20];
    memset(name, 'N', sizeof name);  // no terminator: cut to 19 bytes
    struct Case { int score0, row, score1, row0, row1; } cases[] = {
        {1001, 0, 0, 0, -1}, {1000, 1, 0, 1, -1}, {650, 4, 0, 4, -1}, {101, 9, 0, 9, -1}, {100, -1, 0, -1, -1},
        {450, 6, 850, 7, 2}, {450, 6, 460, 7, 6}, {450, 6, 450, 6, 7}, {450, 6, 250, 6, 9}, {150, 9, 950, -1, 1},
    };
    for (const Case &c : cases) {
        std::string want = fill_table();
        new_entry_row[0] = new_entry_row[1] = -1;
        EXPECT_EQ(score_qualifies(c.score0), c.row >= 0) << c.score0;
        EXPECT_EQ(insert_high_score(0, name, c.score0), c.row) << c.score0;
        if (c.row >= 0)
            want.insert(27 * c.row, record(std::string(19, 'N'), c.score0)).resize(270);
        EXPECT_EQ(written(), want) << c.score0;
        insert_high_score(1, "P1", c.score1);
        EXPECT_EQ(std::make_pair(new_entry_row[0], new_entry_row[1]), std::make_pair(c.row0, c.row1)) << c.score1;
    }
}

// Past a short file's end each byte is EOF cut to a byte, 255, so that a save writes it back as it was read.
TEST(ScoresFile, TheFileKeepsItsBytes) {
    std::string table = fill_table(), cut = table;
    for (int i = 27 * 7 + 3; i < 270; i++)  // cut inside row 7's name
        cut[i] = i % 27 < 20 ? '\xff' : cut[i];
    read_from(table.substr(0, 27 * 7 + 3));
    EXPECT_EQ(written(), cut);
    table.replace(27 * 3 + 20, 6, "  abc ");  // not a number: the score stays, the text starts the next name
    read_from(table);
    EXPECT_EQ(std::make_pair(high_scores[3].score, std::string(high_scores[4].name, 20)),
              std::make_pair(700, "abc \n" + record("EEEEE", 0).substr(0, 15)));
    std::string wide = record("Nineteen charactersQ", 123456) + record("  leading spaces", -99999);  // six columns, spaces
    for (int32_t score : {1234, 98765432, -123456, INT32_MAX, INT32_MIN, 0, 7, -7})
        wide += record("", score);
    read_from(wide);
    EXPECT_EQ(written(), wide);
}

// A save never hangs or dies, nor leaves a file half written; a load reads only a regular file.
TEST(ScoresFile, SaveAndLoadInEverySetUp) {
    enum Bytes { NONE, NEW, OLD };  // what the file holds after the save
    const struct { const char *what; void (*arrange)(); Bytes bytes; mode_t mode = 0644; Saver by = AS_ROOT; } setups[] = {
        {"no file yet", [] { unlink("scores"); }, NEW}, {"a size limit", [] {}, OLD, 0644, SIZE_LIMITED},
        {"mode 640", [] { chmod("scores", 0640); }, NEW, 0640}, {"mode 666", [] { chmod("scores", 0666); }, NEW, 0666},
        {"a stale temporary", [] { put_file("scores.tmp", "junk"); }, NEW},
        {"a folder named as a temporary", [] { mkdir("scores.tmp", 0755); }, NEW},
        {"a second name", [] { link("scores", "other"); }, NEW},
        {"a symlink", [] { rename("scores", "target"); symlink("target", "scores"); }, NEW},
        {"a link to nowhere", [] { unlink("scores"); symlink("target", "scores"); }, NEW},
        {"scores is a folder", [] { unlink("scores"); mkdir("scores", 0755); }, NONE, 0},
        {"scores is a FIFO", [] { unlink("scores"); mkfifo("scores", 0644); }, NONE, 0},
        {"a link to a FIFO", [] { unlink("scores"); mkfifo("fifo", 0644); symlink("fifo", "scores"); }, NONE, 0},
        {"a link to a device", [] { unlink("scores"); symlink("/dev/zero", "scores"); }, NONE, 0},
        {"a read-only folder", [] { chmod("scores", 0666); chmod(".", 0555); }, NEW, 0666, AS_PLAYER},
        {"a read-only file", [] { chmod("scores", 0444); }, OLD, 0444, AS_PLAYER},
        {"another owner's shared file", [] { ASSERT_TRUE(geteuid() || !chown("scores", 0, PLAYER)); chmod("scores", 0664); },
         NEW, 0664, AS_PLAYER},
        // user::rw- user:1000:rw- group::r-- mask::rw- other::r--; the mode's group bits show the mask.
        {"an ACL", [] {
            const uint32_t acl[] = {2, 1 | 6 << 16, ~0u, 2 | 6 << 16, 1000, 4 | 4 << 16, ~0u, 16 | 6 << 16, ~0u, 32 | 4 << 16, ~0u};
            ASSERT_EQ(setxattr("scores", ACL, acl, sizeof acl, 0), 0) << "No ACLs here: set TMPDIR to a file system with them";
         }, NEW, 0664, AS_PLAYER},
        {"a setgid folder, as root", [] { lchown("scores", 0, 0); chown(".", PLAYER, STRANGERS); chmod(".", 02755); }, NEW},
        {"a setgid folder", [] { chown(".", PLAYER, STRANGERS); chmod(".", 02755); }, NEW, 0644, AS_PLAYER},
        {"a group the player is not in", [] { chown("scores", PLAYER, STRANGERS); }, NEW, 0644, AS_PLAYER},
    };
    const std::string saved_table = fill_table();
    for (const auto &s : setups) {
        SCOPED_TRACE(s.what);
        ASSERT_EQ(chdir(scratch_folder().c_str()), 0);
        put_file("scores", "Old");
        chmod("scores", 0644);
        ASSERT_TRUE(geteuid() != 0 || (lchown(".", PLAYER, PLAYER) == 0 && lchown("scores", PLAYER, PLAYER) == 0));
        s.arrange();
        auto file = [] { return access("target", F_OK) == 0 ? "target" : "scores"; };
        struct stat before = {}, after = {}, st;
        bool existed = lstat(file(), &before) == 0 && S_ISREG(before.st_mode);
        std::string acl = acl_of(file());
        EXPECT_EQ(in_child(s.by, [] { save_high_scores(); return 0; }), 0) << "the save ended";
        lstat(file(), &after);
        EXPECT_EQ(S_ISREG(after.st_mode) ? read_file(file()) : "none",
                  s.bytes == NONE ? "none" : s.bytes == NEW ? saved_table : "Old");
        EXPECT_TRUE((!s.mode || (after.st_mode & 07777) == s.mode) &&
                    (!existed || (after.st_uid == before.st_uid && after.st_gid == before.st_gid)))
            << "mode " << std::oct << after.st_mode << std::dec << ", owner " << after.st_uid << ":" << after.st_gid;
        EXPECT_EQ(std::make_pair(acl_of(file()), temporaries()), std::make_pair(acl, std::string())) << "ACL, temporaries";
        EXPECT_TRUE((access("other", F_OK) != 0 || read_file("other") == saved_table) &&
                    (access("target", F_OK) != 0 || (lstat("scores", &st) == 0 && S_ISLNK(st.st_mode))))
            << "a second name sees the new table, a link stays a link";
        EXPECT_EQ(in_child(s.by, [] {
            memset(high_scores, 0x5a, sizeof high_scores);
            load_high_scores();
            return (int)(high_scores[9].score == 100 ? NEW : high_scores[0].name[0] ? OLD : NONE);
        }), (int)s.bytes) << "what a load then finds";
    }
}

// Two games save a thousand times each while a third reads: every read finds one of their tables whole. No save
// takes away a temporary whose save holds its lock, even stopped for a while; a killed save's goes with the next.
TEST(ScoresFile, SavesAtOnceShowWholeTablesAndKeepRunningTemporaries) {
    const std::string table = fill_table(), other = record("A", 1001) + table.substr(27);
    put_file("scores.tmp.1.0", "a killed save's");
    pid_t stopped = 0;
    for (int game = 0; game < 3; game++)  // games 0 and 1 save a thousand times, game 2 until it is killed
        if ((stopped = fork()) == 0) {
            alarm(60);
            high_scores[0].score += game == 1;
            for (int n = 0; n != (game < 2 ? 1000 : -1); n++)
                save_high_scores();
            _exit(0);
        }
    int reads = 0, whole = 0, status = 0;
    for (int running = 2; running > 0; reads++) {
        std::string now = read_file("scores");
        whole += now == table || now == other;
        for (; waitpid(-1, &status, WNOHANG) > 0; running--)
            EXPECT_EQ(status, 0);
    }
    EXPECT_EQ(whole, reads);
    int held_seen = 0;
    for (int n = 0; n < 2000 && held_seen < 5; n++, kill(stopped, SIGCONT)) {
        usleep(500 + 700 * (n % 8));  // stops that fall anywhere in a save, in time
        kill(stopped, SIGSTOP);
        waitpid(stopped, &status, WUNTRACED);
        const std::string held = temporaries(true);
        held_seen += !held.empty();
        save_high_scores();
        EXPECT_EQ(temporaries(), held);
    }
    EXPECT_EQ(held_seen, 5);
    kill(stopped, SIGKILL);
    waitpid(stopped, &status, 0);
    save_high_scores();
    EXPECT_EQ(temporaries(), "");
}

// Keys ^ _ < > step the cursor, any other puts it on its character; each key then picks. A delete is a first edit.
TEST(NameGrid, CursorAndPicks) {
    const char moves[] = "^_<>";
    struct Case { const char *old_name, *keys, *name; int untouched, accept; } cases[] = {
        {"Player 1", "<", "Player 1", 1, 1}, {"Player 1", "Z", "Z", 0, 0}, {"Player 1", "{{}", "", 0, 1},
        {"Old", "ABCDEFGHIJKLMNO{", "ABCDEFGHIJKL", 0, 0}, {"Old", "^_N<>h^", "@ANMNhU", 0, 0}, {"Old", "}>!_", "A!", 0, 1},
        {"qqqqqqqqqqqqqqqqqqqq", "", "qqqqqqqqqqqqqqqqqqq", 1, 0},  // 20 bytes, no terminator
    };
    for (const Case &c : cases) {
        NameEntry entry;
        name_entry_begin(&entry, c.old_name);
        for (const char *k = c.keys; *k; k++) {
            const char *move = strchr(moves, *k);
            entry.cursor = move ? name_cursor_step(entry.cursor, (int)(move - moves)) : (int)(strchr(name_grid, *k) - name_grid);
            name_entry_pick(&entry);
        }
        EXPECT_STREQ(entry.buffer, c.name) << c.old_name << " + " << c.keys;
        EXPECT_EQ(std::make_pair(entry.untouched, entry.accept), std::make_pair(c.untouched, c.accept)) << c.keys;
    }
}
