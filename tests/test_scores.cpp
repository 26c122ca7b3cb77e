// The top-ten table: insertion and its shifting, the name copy, the score
// notation of the file, and whole files read, written and failing to write.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <string>
#include "scores/high_scores.h"

namespace {

// Scores 1000, 900, ... 100 with names "R0".."R9".
void fill_table(void) {
    memset(high_scores, 0, sizeof high_scores);
    for (int i = 0; i < 10; i++) {
        snprintf(high_scores[i].name, 20, "R%i", i);
        high_scores[i].score = 1000 - 100 * i;
    }
}

void enter_fresh_dir(void) {
    char dir[] = "/tmp/og-scores-XXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    ASSERT_EQ(chdir(dir), 0);
}

std::string file_bytes(const char *path) {
    std::string s;
    if (FILE *f = fopen(path, "rb")) {
        for (int c; (c = fgetc(f)) != EOF;)
            s += (char)c;
        fclose(f);
    }
    return s;
}

void put_file(const char *path, const std::string &bytes) {
    FILE *f = fopen(path, "wb");
    ASSERT_TRUE(f);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

// One record as the game writes it.
std::string record(const char *name, int score) {
    std::string field(name);
    field.resize(20, '\0');
    char text[16];
    snprintf(text, sizeof text, "%6i\n", score);
    return field + text;
}

bool exists(const char *path) {
    struct stat st;
    return stat(path, &st) == 0;
}

}  // namespace

TEST(Insertion, RowIsBelowEqualScoresAndQualifyingMeansBeatingRowNine) {
    struct Case { int score, qualifies, row; } cases[] = {
        {1001, 1, 0}, {1000, 1, 1}, {950, 1, 1}, {101, 1, 9}, {100, 0, -1}, {-5, 0, -1},
    };
    for (const Case &c : cases) {
        fill_table();
        EXPECT_EQ(score_qualifies(c.score), c.qualifies) << c.score;
        EXPECT_EQ(insert_high_score(0, "New", c.score), c.row) << c.score;
    }
}

TEST(Insertion, RowsBelowMoveDownAndRowNineIsDropped) {
    fill_table();
    ASSERT_EQ(insert_high_score(0, "New", 650), 4);
    const char *names[10] = {"R0", "R1", "R2", "R3", "New", "R4", "R5", "R6", "R7", "R8"};
    int scores[10] = {1000, 900, 800, 700, 650, 600, 500, 400, 300, 200};
    for (int i = 0; i < 10; i++) {
        EXPECT_STREQ(high_scores[i].name, names[i]) << i;
        EXPECT_EQ(high_scores[i].score, scores[i]) << i;
    }
    fill_table();
    ASSERT_EQ(insert_high_score(0, "Last", 150), 9);
    EXPECT_STREQ(high_scores[8].name, "R8");
    EXPECT_STREQ(high_scores[9].name, "Last");
}

TEST(Insertion, SecondPlayerAboveFirstPushesTheFirstHighlightDown) {
    struct Case { int score0, score1, row0, row1; } cases[] = {
        {450, 850, 7, 2},   // player 1 lands above: player 0's row follows
        {450, 450, 6, 7},   // equal: player 1 goes below, nothing moves
        {450, 250, 6, 9},
        {150, 950, -1, 1},  // player 0 at row 9 is pushed out of the table
    };
    for (const Case &c : cases) {
        fill_table();
        new_entry_row[0] = new_entry_row[1] = -1;
        insert_high_score(0, "P0", c.score0);
        ASSERT_TRUE(score_qualifies(c.score1));
        insert_high_score(1, "P1", c.score1);
        EXPECT_EQ(new_entry_row[0], c.row0) << c.score0 << " " << c.score1;
        EXPECT_EQ(new_entry_row[1], c.row1) << c.score0 << " " << c.score1;
    }
}

TEST(NameCopy, AtMostNineteenBytesPaddedWithNulAndTheLastByteKept) {
    // Sources live in exact-size arrays so a read past 19 bytes trips ASan.
    char full[19], empty[1] = {0}, shorter[4] = {'a', 'b', 'c', 0};
    memset(full, 'x', sizeof full);
    struct Case { const char *src; const char *expect; } cases[] = {
        {full, "xxxxxxxxxxxxxxxxxxx"}, {empty, ""}, {shorter, "abc"},
    };
    for (const Case &c : cases) {
        char dest[20];
        memset(dest, '#', sizeof dest);
        copy_name(dest, c.src);
        EXPECT_EQ(std::string(dest, 19), std::string(c.expect) + std::string(19 - strlen(c.expect), '\0'));
        EXPECT_EQ(dest[19], '#');
    }
}

TEST(ScoreField, SixCharacterFieldsReadAsTheFormattedInputConversion) {
    const char *inputs[] = {
        "   123\n", "999999\n", "-99999\n", "     0\n", "+42\n", "1234567x", "12345678a",
        "0x1fz", "-0x1F\n", "0xffff1", "0x", "0xg", "0777", "08", "012345\n", "0123456\n",
        "+", "-a", "+-1", "abc", "", "\t\v\f\r 7", "1e5", "\xff\x31\x32", "-1234567x", "  \n  12\n",
    };
    for (const char *text : inputs) {
        int expected = -7, expected_n = -1;
        int expected_ok = sscanf(text, "%6i%n", &expected, &expected_n) == 1;
        int32_t got = -7;
        FILE *in = fmemopen((void *)text, strlen(text), "rb");
        EXPECT_EQ(read_score_field(in, &got), expected_ok) << text;
        EXPECT_EQ(got, expected) << text;
        if (expected_ok) {
            EXPECT_EQ(ftell(in), expected_n) << text;
        }
        fclose(in);
    }
}

TEST(ScoreField, WideDecimalScoresReadWholeUpToTheLineFeed) {
    struct Case { const char *text; int32_t score; long consumed; } cases[] = {
        {"1234567\n", 1234567, 7},
        {"-1234567\n", -1234567, 8},
        {"1234567", 1234567, 7},  // cut at the end of the file
        {"2147483647\n", INT32_MAX, 10},
        {"-2147483648\n", INT32_MIN, 11},
        {"2147483648\n", INT32_MAX, 10},
        {"-99999999999999999999\n", INT32_MIN, 21},
        {"1234567x\n", 123456, 6},  // not a number up to the line feed
        {"0123456\n", 012345, 6},   // only decimal fields widen
    };
    for (const Case &c : cases) {
        int32_t got = 0;
        FILE *in = fmemopen((void *)c.text, strlen(c.text), "rb");
        EXPECT_EQ(read_score_field(in, &got), 1) << c.text;
        EXPECT_EQ(got, c.score) << c.text;
        EXPECT_EQ(ftell(in), c.consumed) << c.text;
        fclose(in);
    }
}

TEST(ScoreField, EveryScoreTheWriterWritesReadsBack) {
    srand(7);
    for (int i = 0; i < 20000; i++) {
        int32_t score = (int32_t)(((uint32_t)rand() << 16) ^ (uint32_t)rand());
        if (i % 4 == 0)
            score %= 2000000;
        char text[24];
        snprintf(text, sizeof text, "%6i\n", (int)score);
        int32_t got = 0;
        FILE *in = fmemopen(text, strlen(text), "rb");
        ASSERT_EQ(read_score_field(in, &got), 1) << text;
        ASSERT_EQ(got, score) << text;
        ASSERT_EQ(fgetc(in), '\n') << text;
        fclose(in);
    }
}

TEST(ScoresFile, RoundTripKeepsNamesBytesAndScoresExactly) {
    enter_fresh_dir();
    fill_table();
    memcpy(high_scores[0].name, "Nineteen characters", 19);
    high_scores[0].name[19] = 'Q';  // a loaded 20th byte is written back
    strcpy(high_scores[1].name, "  leading spaces");
    high_scores[0].score = 123456;  // fills all six columns before them
    high_scores[2].score = -99999;
    high_scores[3].score = 1234;
    strcpy(high_scores[3].name, "Player 1");
    high_scores[4].score = 98765432;
    HighScoreEntry saved[10];
    memcpy(saved, high_scores, sizeof saved);
    save_high_scores();

    std::string bytes = file_bytes("scores");
    EXPECT_EQ(bytes.size(), 270u + 2);  // one score two characters wider
    EXPECT_EQ(bytes.substr(0, 27), "Nineteen charactersQ123456\n");
    EXPECT_EQ(bytes.substr(81, 27), record("Player 1", 1234));
    EXPECT_FALSE(exists("scores.tmp"));

    memset(high_scores, 0, sizeof high_scores);
    load_high_scores();
    EXPECT_EQ(memcmp(high_scores, saved, sizeof saved), 0);
}

TEST(ScoresFile, MissingFileEmptiesEveryRow) {
    enter_fresh_dir();
    fill_table();
    load_high_scores();
    for (const HighScoreEntry &row : high_scores) {
        EXPECT_EQ(row.name[0], '\0');
        EXPECT_EQ(row.score, 0);
    }
    EXPECT_FALSE(score_qualifies(0));
    EXPECT_EQ(insert_high_score(0, "First", 1), 0);
}

TEST(ScoresFile, ShortFileLeavesNulPastItsEndAndScoresUnread) {
    enter_fresh_dir();
    std::string bytes;
    for (int i = 0; i < 10; i++)
        bytes += record(("Name" + std::to_string(i)).c_str(), 100 * (9 - i) + 5);
    put_file("scores", bytes.substr(0, 27 * 7 + 3));  // cut inside row 7's name
    memset(high_scores, 0, sizeof high_scores);
    load_high_scores();
    EXPECT_STREQ(high_scores[6].name, "Name6");
    EXPECT_EQ(high_scores[6].score, 305);
    EXPECT_EQ(std::string(high_scores[7].name, 20), std::string("Nam") + std::string(17, '\0'));
    for (int i = 7; i < 10; i++)
        EXPECT_EQ(high_scores[i].score, 0);
    EXPECT_EQ(std::string(high_scores[9].name, 20), std::string(20, '\0'));
    save_high_scores();
    EXPECT_EQ(file_bytes("scores").find('\xff'), std::string::npos);
}

TEST(ScoresFile, LongAndNonNumericFiles) {
    enter_fresh_dir();
    std::string bytes;
    for (int i = 0; i < 12; i++)
        bytes += record("Row", i + 1);
    put_file("scores", bytes);
    load_high_scores();
    EXPECT_EQ(high_scores[9].score, 10);
    save_high_scores();
    EXPECT_EQ(file_bytes("scores"), bytes.substr(0, 270));

    // A score that is not a number stays as it was, and its text becomes
    // the start of the next row's name.
    bytes.replace(27 * 3 + 20, 6, "  abc ");
    put_file("scores", bytes);
    high_scores[3].score = 77;
    high_scores[4].score = 88;
    load_high_scores();
    EXPECT_EQ(high_scores[3].score, 77);
    EXPECT_EQ(std::string(high_scores[4].name, 20), "abc \n" + record("Row", 5).substr(0, 15));
    EXPECT_EQ(high_scores[4].score, 88);  // misaligned: NUL bytes where its score was
}

TEST(ScoresFile, FailedSaveKeepsTheOldFileWhole) {
    enum { TEMP_IS_DIR, FILE_TOO_BIG, SCORES_IS_DIR };
    for (int way : {TEMP_IS_DIR, FILE_TOO_BIG, SCORES_IS_DIR}) {
        enter_fresh_dir();
        fill_table();
        std::string old = record("Old", 42);
        if (way == SCORES_IS_DIR)
            mkdir("scores", 0755);
        else
            put_file("scores", old);
        if (way == TEMP_IS_DIR)
            mkdir("scores.tmp", 0755);
        struct rlimit saved_limit;
        getrlimit(RLIMIT_FSIZE, &saved_limit);
        if (way == FILE_TOO_BIG) {  // as a full card would: writes stop at 100 bytes
            struct rlimit small = {100, saved_limit.rlim_max};
            signal(SIGXFSZ, SIG_IGN);
            setrlimit(RLIMIT_FSIZE, &small);
        }
        save_high_scores();
        setrlimit(RLIMIT_FSIZE, &saved_limit);
        if (way != SCORES_IS_DIR) {
            EXPECT_EQ(file_bytes("scores"), old) << way;
        }
        EXPECT_EQ(exists("scores.tmp"), way == TEMP_IS_DIR) << way;
        EXPECT_EQ(high_scores[0].score, 1000);
    }
}

TEST(ScoresFile, StaleTemporaryFileDoesNotStopASave) {
    enter_fresh_dir();
    put_file("scores.tmp", "leftover from a crash");
    fill_table();
    save_high_scores();
    EXPECT_EQ(file_bytes("scores").size(), 270u);
    EXPECT_FALSE(exists("scores.tmp"));
}
