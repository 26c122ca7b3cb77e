// The top-ten table and the bytes of its plain-text file "scores":
// qualification, insertion with the rows shifting down, reading and writing.
#include "rules/high_scores.h"
#include <stdio.h>
#include <string.h>

HighScoreEntry high_scores[HIGH_SCORE_ROWS];
int new_entry_row[2] = {-1, -1};

namespace {

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

const int END = -1;  // what a read past the end gives, as fgetc's EOF did

int next_byte(ScoresText *in) { return in->at < in->size ? (unsigned char)in->bytes[in->at++] : END; }

void put_back(ScoresText *in, int c) {
    if (c != END)
        in->at--;
}

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
// them means the digits belong to what follows, so reading goes back.
int64_t read_wide_tail(ScoresText *in, size_t mark, int c, int64_t value) {
    int64_t wide = value;
    while (digit_value(c, 10) >= 0) {
        wide = grow(wide, 10, c - '0');
        c = next_byte(in);
    }
    if (c == '\n' || c == END) {
        put_back(in, c);
        return wide;
    }
    in->at = mark;
    return value;
}

}  // namespace

int read_score_field(ScoresText *in, int32_t *score) {
    int c;
    do
        c = next_byte(in);
    while (is_space_byte(c));
    int width = SCORE_WIDTH, base = 10, digits = 0, negative = 0;
    if (c == '-' || c == '+') {
        negative = c == '-';
        width--;
        c = next_byte(in);
    }
    if (c == '0') {  // the "%i" prefixes: 0x hexadecimal, 0 octal
        width--;
        digits = 1;
        c = next_byte(in);
        base = 8;
        if (c == 'x' || c == 'X') {
            base = 16;
            width--;
            c = next_byte(in);
        }
    }
    int64_t value = 0;
    size_t mark = 0;
    for (int d; width > 0 && (d = digit_value(c, base)) >= 0; digits++) {
        value = grow(value, base, d);
        if (--width == 0)
            mark = in->at;
        c = next_byte(in);
    }
    if (base == 10 && width == 0 && mark > 0 && digit_value(c, 10) >= 0)
        value = read_wide_tail(in, mark, c, value);
    else
        put_back(in, c);
    if (digits == 0)
        return 0;
    *score = clamp_score(value, negative);
    return 1;
}

namespace {

// A byte past the end of the file is the end-of-file value cut to a byte,
// 255: it draws as nothing and every save writes it back as it is.
void read_name_field(ScoresText *in, char *name) {
    for (int i = 0; i < NAME_FIELD; i++)
        name[i] = (char)(unsigned char)next_byte(in);
}

}  // namespace

void parse_high_scores(const char *bytes, size_t size) {
    ScoresText in = {bytes, size, 0};
    for (HighScoreEntry &row : high_scores) {
        read_name_field(&in, row.name);
        read_score_field(&in, &row.score);
        int c = next_byte(&in);
        if (c != '\n')
            put_back(&in, c);
    }
}

// ---- writing ---------------------------------------------------------------

size_t format_high_scores(char *out) {
    size_t length = 0;
    for (const HighScoreEntry &row : high_scores) {
        char score[16];
        int n = snprintf(score, sizeof score, "%6i\n", (int)row.score);
        memcpy(out + length, row.name, NAME_FIELD);
        memcpy(out + length + NAME_FIELD, score, (size_t)n);
        length += NAME_FIELD + (size_t)n;
    }
    return length;
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
