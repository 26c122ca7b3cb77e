// The top-ten table and its plain-text file "scores": loading, saving,
// qualification and insertion with the rows shifting down.
#include "rules/high_scores.h"
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

HighScoreEntry high_scores[HIGH_SCORE_ROWS];
int new_entry_row[2] = {-1, -1};

namespace {

const char SCORES_PATH[] = "scores";
const char SCORES_TEMP_PATH[] = "scores.tmp";
enum { SCORE_WIDTH = 6 };
const int64_t SCORE_LIMIT = (int64_t)INT32_MAX + 1;

}  // namespace

void copy_name(char *dest, const char *src) {
    int i = 0;
    for (; i < NAME_LONGEST && src[i] != '\0'; i++)
        dest[i] = src[i];
    for (; i < NAME_LONGEST; i++)
        dest[i] = '\0';
}

// ---- reading ---------------------------------------------------------------

namespace {

int is_space_byte(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The digit's value in the base, or -1; bytes >= 128 are never digits.
int digit_value(int c, int base) {
    int v = 99;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

// Digits beyond SCORE_LIMIT only matter for the clamp, so stop growing there.
int64_t grow(int64_t value, int base, int digit) {
    value = value * base + digit;
    return value > SCORE_LIMIT ? SCORE_LIMIT : value;
}

int32_t clamp_score(int64_t magnitude, int negative) {
    int64_t v = negative ? -magnitude : magnitude;
    if (v > INT32_MAX)
        return INT32_MAX;
    return (int32_t)v;
}

// After a full six-character decimal field: more digits up to the line feed
// (or the end of the file) are the rest of a wide score. Anything else after
// them means the digits belong to what follows, so the stream goes back.
int64_t read_wide_tail(FILE *in, long mark, int c, int64_t value) {
    int64_t wide = value;
    while (digit_value(c, 10) >= 0) {
        wide = grow(wide, 10, c - '0');
        c = fgetc(in);
    }
    if (c == '\n' || c == EOF) {
        if (c != EOF)
            ungetc(c, in);
        return wide;
    }
    fseek(in, mark, SEEK_SET);
    return value;
}

}  // namespace

int read_score_field(FILE *in, int32_t *score) {
    int c;
    do
        c = fgetc(in);
    while (is_space_byte(c));
    int width = SCORE_WIDTH, base = 10, digits = 0, negative = 0;
    if (c == '-' || c == '+') {
        negative = c == '-';
        width--;
        c = fgetc(in);
    }
    if (c == '0') {  // the "%i" prefixes: 0x hexadecimal, 0 octal
        width--;
        digits = 1;
        c = fgetc(in);
        base = 8;
        if (c == 'x' || c == 'X') {
            base = 16;
            width--;
            c = fgetc(in);
        }
    }
    int64_t value = 0;
    long mark = -1;
    for (int d; width > 0 && (d = digit_value(c, base)) >= 0; digits++) {
        value = grow(value, base, d);
        if (--width == 0)
            mark = ftell(in);
        c = fgetc(in);
    }
    if (base == 10 && width == 0 && mark >= 0 && digit_value(c, 10) >= 0)
        value = read_wide_tail(in, mark, c, value);
    else if (c != EOF)
        ungetc(c, in);
    if (digits == 0)
        return 0;
    *score = clamp_score(value, negative);
    return 1;
}

namespace {

// A byte past the end of the file is the end-of-file value cut to a byte,
// 255: it draws as nothing and every save writes it back as it is.
void read_name_field(FILE *in, char *name) {
    for (int i = 0; i < NAME_FIELD; i++)
        name[i] = (char)(unsigned char)fgetc(in);
}

}  // namespace

void read_high_scores(FILE *in) {
    for (HighScoreEntry &row : high_scores) {
        read_name_field(in, row.name);
        read_score_field(in, &row.score);
        int c = fgetc(in);
        if (c != '\n' && c != EOF)
            ungetc(c, in);
    }
}

namespace {

// Only a regular file is read: a FIFO named "scores" would block start-up for
// ever, and a folder or a device holds no table.
FILE *open_regular_for_reading(const char *path) {
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return nullptr;
    struct stat st;
    FILE *in = nullptr;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        in = fdopen(fd, "rb");
    if (!in)
        close(fd);
    return in;
}

}  // namespace

void load_high_scores(void) {
    FILE *in = open_regular_for_reading(SCORES_PATH);
    if (!in) {
        for (HighScoreEntry &row : high_scores) {
            row.name[0] = '\0';
            row.score = 0;
        }
        return;
    }
    read_high_scores(in);
    fclose(in);
}

// ---- writing ---------------------------------------------------------------

int write_high_scores(FILE *out) {
    int ok = 1;
    for (const HighScoreEntry &row : high_scores) {
        ok &= fwrite(row.name, 1, NAME_FIELD, out) == NAME_FIELD;
        ok &= fprintf(out, "%6i\n", (int)row.score) > 0;
    }
    return ok;
}

namespace {

// Writes the table to a descriptor and closes it; 1 when every byte reached
// the disk.
int write_and_close(int fd, int sync) {
    FILE *out = fdopen(fd, "wb");
    if (!out) {
        close(fd);
        return 0;
    }
    int ok = write_high_scores(out);
    ok &= fflush(out) == 0;
    if (sync)
        ok &= fsync(fileno(out)) == 0;
    ok &= fclose(out) == 0;
    return ok;
}

// Where a new file may take the old one's place without anyone noticing:
// the folder takes a new entry, and "scores" is missing or a plain file of
// ours that no other name shares. A link, a second name or a file the
// player may not write is written in place, or left alone.
int replace_is_safe(const struct stat *old, int exists) {
    if (faccessat(AT_FDCWD, ".", W_OK | X_OK, AT_EACCESS) != 0)
        return 0;
    return !exists || (S_ISREG(old->st_mode) && old->st_nlink == 1);
}

// The new file gets the old one's owner, group and permission bits; where
// it cannot, the old file is written in place instead.
int make_temp_like(const struct stat *old, int exists) {
    unlink(SCORES_TEMP_PATH);  // a stale temporary of an earlier crash
    int fd = open(SCORES_TEMP_PATH, O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY, 0666);
    if (fd < 0 || !exists)
        return fd;
    if ((old->st_uid == geteuid() && old->st_gid == getegid()) || fchown(fd, old->st_uid, old->st_gid) == 0)
        if (fchmod(fd, old->st_mode & 07777) == 0)
            return fd;
    close(fd);
    unlink(SCORES_TEMP_PATH);
    return -1;
}

void sync_folder(void) {
    int dir = open(".", O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
}

// The plain create-or-truncate of the file, through a link if it is one.
// Only a regular file is written: opening a FIFO would wait for a reader.
void write_in_place(void) {
    int fd = open(SCORES_PATH, O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd < 0)
        return;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ftruncate(fd, 0) != 0) {
        close(fd);
        return;
    }
    write_and_close(fd, 0);
}

void save_to_disk(void) {
    struct stat old;
    int exists = lstat(SCORES_PATH, &old) == 0;
    // A file the player may not write stays as it is; a link to nowhere is
    // written through, creating its target.
    if (exists && faccessat(AT_FDCWD, SCORES_PATH, W_OK, AT_EACCESS) != 0 && errno != ENOENT)
        return;
    int fd = replace_is_safe(&old, exists) ? make_temp_like(&old, exists) : -1;
    if (fd < 0) {
        write_in_place();
        return;
    }
    // A complete new file or none: a full disk or a size limit leaves the
    // old table byte for byte.
    if (!write_and_close(fd, 1) || rename(SCORES_TEMP_PATH, SCORES_PATH) != 0) {
        unlink(SCORES_TEMP_PATH);
        return;
    }
    sync_folder();
}

}  // namespace

// A file-size limit would otherwise end the program with SIGXFSZ in the
// middle of a save; ignored, the write fails and the save is skipped.
void save_high_scores(void) {
    struct sigaction ignore = {}, previous;
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    save_to_disk();
    sigaction(SIGXFSZ, &previous, nullptr);
}

// ---- the table -------------------------------------------------------------

int score_qualifies(int score) { return score > high_scores[HIGH_SCORE_ROWS - 1].score; }

namespace {

int row_for_score(int score) {
    for (int i = 0; i < HIGH_SCORE_ROWS; i++)
        if (score > high_scores[i].score)
            return i;
    return -1;
}

}  // namespace

int insert_high_score(int player, const char *name, int score) {
    int row = row_for_score(score);
    if (row < 0)
        return -1;
    for (int k = HIGH_SCORE_ROWS - 1; k > row; k--) {
        high_scores[k].score = high_scores[k - 1].score;
        copy_name(high_scores[k].name, high_scores[k - 1].name);
    }
    high_scores[row].score = score;
    copy_name(high_scores[row].name, name);
    if (player != 0 && player != 1)
        return row;
    new_entry_row[player] = row;
    // Player 0 always enters first; its highlight follows its row down, and
    // leaves the table with it.
    if (player == 1 && new_entry_row[0] >= row)
        new_entry_row[0] = new_entry_row[0] + 1 < HIGH_SCORE_ROWS ? new_entry_row[0] + 1 : -1;
    return row;
}
