// The top-ten table and its plain-text file "scores": loading, saving,
// qualification and insertion with the rows shifting down.
#include "scores/high_scores.h"
#include <unistd.h>

HighScoreEntry high_scores[HIGH_SCORE_ROWS];
int new_entry_row[2] = {-1, -1};

static const char SCORES_PATH[] = "scores";
static const char SCORES_TEMP_PATH[] = "scores.tmp";

enum { SCORE_WIDTH = 6 };
static const int64_t SCORE_LIMIT = (int64_t)INT32_MAX + 1;

void copy_name(char *dest, const char *src) {
    int i = 0;
    for (; i < NAME_LONGEST && src[i] != '\0'; i++)
        dest[i] = src[i];
    for (; i < NAME_LONGEST; i++)
        dest[i] = '\0';
}

// ---- reading ---------------------------------------------------------------

static int is_space_byte(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The digit's value in the base, or -1; bytes >= 128 are never digits.
static int digit_value(int c, int base) {
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
static int64_t grow(int64_t value, int base, int digit) {
    value = value * base + digit;
    return value > SCORE_LIMIT ? SCORE_LIMIT : value;
}

static int32_t clamp_score(int64_t magnitude, int negative) {
    int64_t v = negative ? -magnitude : magnitude;
    if (v > INT32_MAX)
        return INT32_MAX;
    return (int32_t)v;
}

// After a full six-character decimal field: more digits up to the line feed
// (or the end of the file) are the rest of a wide score. Anything else after
// them means the digits belong to what follows, so the stream goes back.
static int64_t read_wide_tail(FILE *in, long mark, int c, int64_t value) {
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

// Bytes past the end of the file read as NUL: a value of their own would be
// written back by every later save.
static void read_name_field(FILE *in, char *name) {
    for (int i = 0; i < NAME_FIELD; i++) {
        int c = fgetc(in);
        name[i] = c == EOF ? '\0' : (char)c;
    }
}

void read_high_scores(FILE *in) {
    for (HighScoreEntry &row : high_scores) {
        read_name_field(in, row.name);
        read_score_field(in, &row.score);
        int c = fgetc(in);
        if (c != '\n' && c != EOF)
            ungetc(c, in);
    }
}

void load_high_scores(void) {
    FILE *in = fopen(SCORES_PATH, "rb");
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

// The old file is replaced only by a complete new one, so a full card or a
// pulled battery can never leave the table half written.
void save_high_scores(void) {
    unlink(SCORES_TEMP_PATH);  // a stale temporary, or a link to elsewhere
    FILE *out = fopen(SCORES_TEMP_PATH, "wbx");
    if (!out)
        return;
    int ok = write_high_scores(out);
    ok &= fflush(out) == 0;
    ok &= fsync(fileno(out)) == 0;
    ok &= fclose(out) == 0;
    if (!ok || rename(SCORES_TEMP_PATH, SCORES_PATH) != 0)
        unlink(SCORES_TEMP_PATH);
}

// ---- the table -------------------------------------------------------------

int score_qualifies(int score) { return score > high_scores[HIGH_SCORE_ROWS - 1].score; }

static int row_for_score(int score) {
    for (int i = 0; i < HIGH_SCORE_ROWS; i++)
        if (score > high_scores[i].score)
            return i;
    return -1;
}

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
