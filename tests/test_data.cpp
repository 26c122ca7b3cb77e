// Checks the committed files of data/ against the places the screens give
// them: sizes, glyph layout, the colour key after 16-bit conversion, and the
// sound format. A regenerated or hand-edited asset that would be cut off,
// overlap its neighbours or lose pixels to the key fails here.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

std::string data_path(const std::string &file) {
    return std::string(OG_SOURCE_DIR) + "/data/" + file;
}

// An image loaded as the game loads it, released when the test is done.
struct Image {
    SDL_Surface *s = nullptr;
    explicit Image(const std::string &file) : s(IMG_Load(data_path(file).c_str())) {}
    ~Image() { if (s) SDL_FreeSurface(s); }
    Image(const Image &) = delete;
    Image &operator=(const Image &) = delete;
    int w() const { return s->w; }
    int h() const { return s->h; }
};

Uint32 raw_pixel(SDL_Surface *s, int x, int y) {
    const Uint8 *p = static_cast<const Uint8 *>(s->pixels) + y * s->pitch +
                     x * s->format->BytesPerPixel;
    switch (s->format->BytesPerPixel) {
    case 1: return *p;
    case 2: return *reinterpret_cast<const Uint16 *>(p);
    case 3:
        return SDL_BYTEORDER == SDL_BIG_ENDIAN ? (p[0] << 16 | p[1] << 8 | p[2])
                                               : (p[0] | p[1] << 8 | p[2] << 16);
    default: return *reinterpret_cast<const Uint32 *>(p);
    }
}

struct Rgb { Uint8 r, g, b; };

Rgb rgb_at(SDL_Surface *s, int x, int y) {
    Rgb c;
    SDL_GetRGB(raw_pixel(s, x, y), s->format, &c.r, &c.g, &c.b);
    return c;
}

bool is_key(Rgb c) { return c.r == 0 && c.g == 255 && c.b == 255; }

// Pixels of the rectangle that are drawn (not the key).
int visible_in(SDL_Surface *s, int x0, int y0, int w, int h) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            n += !is_key(rgb_at(s, x, y));
    return n;
}

// Where each image goes decides its size. Positions are those of the table
// screen, the menus and the name entry; the bounds keep every image on the
// screen and off its neighbours.
struct ImageLimits {
    const char *file;
    int min_w, max_w, min_h, max_h;
    enum { KEYED, OPAQUE, ANY } transparency;
};

const ImageLimits kImages[] = {
    // Cards: 40 px pitch with a gap; the waste at y 190 must end by 240.
    {"tile_normal.png", 30, 38, 40, 50, ImageLimits::KEYED},
    {"tile_highlighted.png", 30, 38, 40, 50, ImageLimits::KEYED},
    {"numbers.png", 260, 260, 20, 20, ImageLimits::KEYED},
    // Banners centred on x 190 stay right of the score panel (x 66).
    {"tablecleared.png", 40, 248, 10, 100, ImageLimits::KEYED},
    {"ready.png", 40, 248, 10, 60, ImageLimits::KEYED},
    {"timesup.png", 40, 248, 10, 100, ImageLimits::KEYED},
    {"gameover.png", 40, 248, 10, 100, ImageLimits::KEYED},
    {"winner.png", 40, 248, 10, 60, ImageLimits::KEYED},
    {"player1.png", 40, 248, 10, 60, ImageLimits::KEYED},
    {"player2.png", 40, 248, 10, 60, ImageLimits::KEYED},
    // Stock pictures at (80,180): clear of the waste (x 205) and ending
    // above the stock count at y 229.
    {"gorvel1.png", 20, 125, 20, 49, ImageLimits::KEYED},
    {"gorvel2.png", 20, 125, 20, 49, ImageLimits::KEYED},
    {"gorvel3.png", 20, 125, 20, 49, ImageLimits::KEYED},
    {"gorvel4.png", 20, 125, 20, 49, ImageLimits::KEYED},
    // Peeks in at x 230 from the bottom edge.
    {"gorvel_popup.png", 20, 90, 20, 80, ImageLimits::KEYED},
    {"selector.png", 6, 20, 6, 15, ImageLimits::KEYED},
    {"background.png", 320, 320, 240, 240, ImageLimits::OPAQUE},
    {"congrats.png", 40, 320, 8, 24, ImageLimits::KEYED},
    {"topgorvels.png", 40, 170, 8, 40, ImageLimits::KEYED},
    // Headings at (4,30), inside the score panel; the one-player heading
    // ends above the score at y 41.
    {"oneplayerscore_header.png", 10, 61, 5, 11, ImageLimits::KEYED},
    {"twoplayerscore_header.png", 10, 61, 5, 37, ImageLimits::KEYED},
    // Menu column: 25 px pitch, selector at x 280.
    {"button_newgame.png", 40, 78, 12, 24, ImageLimits::ANY},
    {"button_resume.png", 40, 78, 12, 24, ImageLimits::ANY},
    {"button_quit.png", 40, 78, 12, 24, ImageLimits::ANY},
    {"button_highscores.png", 40, 78, 12, 24, ImageLimits::ANY},
    {"button_instructions.png", 40, 78, 12, 24, ImageLimits::ANY},
    {"button_menu.png", 20, 78, 12, 24, ImageLimits::ANY},
    {"button_ok.png", 20, 78, 12, 24, ImageLimits::ANY},
    // At (10,200), left of the stock picture, on the screen.
    {"button_takescore.png", 30, 70, 16, 40, ImageLimits::ANY},
    {"button_takescore_sure.png", 30, 70, 16, 40, ImageLimits::ANY},
    // At (200,75) and (250,75), selectors at x 230 and 280.
    {"button_player1.png", 12, 28, 12, 40, ImageLimits::ANY},
    {"button_player2.png", 12, 28, 12, 40, ImageLimits::ANY},
    {"timer_image.png", 125, 320, 9, 9, ImageLimits::ANY},
    // Menu panels left of the buttons (x 200), the title above the version
    // label at y 225.
    {"title.png", 60, 180, 30, 175, ImageLimits::KEYED},
    {"background_tile.png", 64, 64, 64, 64, ImageLimits::OPAQUE},
    {"instructions.png", 100, 195, 100, 235, ImageLimits::ANY},
    {"font1.png", 95 * 4, 95 * 9, 6, 10, ImageLimits::KEYED},
    {"font1_hilite.png", 95 * 4, 95 * 9, 6, 10, ImageLimits::KEYED},
    {"font2.png", 95 * 3, 95 * 5, 5, 12, ImageLimits::KEYED},
    {"font2_hilite.png", 95 * 3, 95 * 5, 5, 12, ImageLimits::KEYED},
    {"font3.png", 95 * 3, 95 * 9, 5, 12, ImageLimits::KEYED},
};

struct SoundLimits {
    const char *file;
    double max_seconds;
};

const SoundLimits kSounds[] = {
    {"chime1.wav", 0.5}, {"click1.wav", 0.1}, {"click2.wav", 0.1},
    {"click3.wav", 0.1}, {"nono.wav", 0.5},   {"good.wav", 1.5},
};

TEST(Data, EveryImageLoadsAndFitsItsPlace) {
    EXPECT_EQ(sizeof kImages / sizeof kImages[0], 41u);
    for (const ImageLimits &lim : kImages) {
        SCOPED_TRACE(lim.file);
        Image img(lim.file);
        ASSERT_NE(img.s, nullptr) << IMG_GetError();
        EXPECT_GE(img.w(), lim.min_w);
        EXPECT_LE(img.w(), lim.max_w);
        EXPECT_GE(img.h(), lim.min_h);
        EXPECT_LE(img.h(), lim.max_h);
    }
}

// The game converts every image to the 16-bit screen and only then compares
// with the key: a pixel is transparent exactly when it was (0,255,255).
TEST(Data, ColourKeySurvivesTheSixteenBitScreen) {
    SDL_Surface *fmt = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 16, 0xF800,
                                            0x07E0, 0x001F, 0);
    ASSERT_NE(fmt, nullptr);
    for (const ImageLimits &lim : kImages) {
        SCOPED_TRACE(lim.file);
        Image img(lim.file);
        ASSERT_NE(img.s, nullptr);
        SDL_Surface *conv = SDL_ConvertSurface(img.s, fmt->format, SDL_SWSURFACE);
        ASSERT_NE(conv, nullptr);
        const Uint32 key = SDL_MapRGB(conv->format, 0, 255, 255);
        int keyed = 0, wrong = 0;
        for (int y = 0; y < img.h(); ++y)
            for (int x = 0; x < img.w(); ++x) {
                const bool was_key = is_key(rgb_at(img.s, x, y));
                keyed += was_key;
                wrong += was_key != (raw_pixel(conv, x, y) == key);
            }
        SDL_FreeSurface(conv);
        EXPECT_EQ(wrong, 0) << "pixels that change transparency in RGB565";
        if (lim.transparency == ImageLimits::KEYED) {
            EXPECT_GT(keyed, 0);
        } else if (lim.transparency == ImageLimits::OPAQUE) {
            EXPECT_EQ(keyed, 0);
        }
    }
    SDL_FreeSurface(fmt);
}

struct FontLimits {
    const char *file;
    const char *twin;   // same font in another colour: same cells
    int max_cell_w;
    int max_h;
};

// font1: six cells of "%6i" from x 1 must stay left of the cards at x 70 and
// the name-entry lines are 10 px apart. font2: a 13-character name from x 30
// must end before the score column at x 120.
const FontLimits kFonts[] = {
    {"font1.png", "font1_hilite.png", 9, 10},
    {"font2.png", "font2_hilite.png", 5, 12},
    {"font3.png", nullptr, 8, 12},
};

TEST(Data, FontsAreOneRowOfNinetyFiveGlyphs) {
    for (const FontLimits &f : kFonts) {
        SCOPED_TRACE(f.file);
        Image img(f.file);
        ASSERT_NE(img.s, nullptr);
        ASSERT_EQ(img.w() % 95, 0);
        const int cw = img.w() / 95;
        EXPECT_LE(cw, f.max_cell_w);
        EXPECT_LE(img.h(), f.max_h);
        EXPECT_LE(6 * (cw + 1), 65);
        EXPECT_EQ(visible_in(img.s, 0, 0, cw, img.h()), 0) << "space must be empty";
        for (int c = 33; c <= 126; ++c)
            EXPECT_GT(visible_in(img.s, (c - 32) * cw, 0, cw, img.h()), 0)
                << "no glyph for '" << char(c) << "'";
        if (f.twin) {
            Image twin(f.twin);
            ASSERT_NE(twin.s, nullptr);
            EXPECT_EQ(twin.w(), img.w());
            EXPECT_EQ(twin.h(), img.h());
        }
    }
    Image font2("font2.png");
    ASSERT_NE(font2.s, nullptr);
    EXPECT_LE(30 + 13 * (font2.w() / 95 + 1), 120);
}

// A covered card shows its top 22 rows; the value is drawn at +3, so only
// the value cell's rows 0..18 are ever seen on most cards.
TEST(Data, CardValuesAreWholeOnCoveredCards) {
    Image nums("numbers.png");
    ASSERT_NE(nums.s, nullptr);
    std::set<std::vector<bool>> shapes;
    for (int v = 0; v < 13; ++v) {
        SCOPED_TRACE(v + 1);
        EXPECT_GT(visible_in(nums.s, 20 * v, 0, 20, 19), 20);
        EXPECT_EQ(visible_in(nums.s, 20 * v, 19, 20, 1), 0);
        std::vector<bool> shape;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                shape.push_back(!is_key(rgb_at(nums.s, 20 * v + x, y)));
        shapes.insert(shape);
    }
    EXPECT_EQ(shapes.size(), 13u) << "two values share a picture";
}

TEST(Data, CardsHoldTheirValueAndCursor) {
    Image normal("tile_normal.png"), high("tile_highlighted.png"),
        sel("selector.png");
    ASSERT_TRUE(normal.s && high.s && sel.s);
    EXPECT_EQ(normal.w(), high.w());
    EXPECT_EQ(normal.h(), high.h());
    // The value cell and the cursor lie on the card.
    EXPECT_GE(normal.w(), 8 + 20);
    EXPECT_GE(normal.h(), 3 + 20);
    EXPECT_LE(10 + sel.w(), normal.w());
    EXPECT_LE(25 + sel.h(), normal.h());
    // Over the value, the card face is one plain colour, so every value
    // reads the same.
    std::set<Uint32> face;
    for (int y = 3; y < 23; ++y)
        for (int x = 8; x < 28; ++x) face.insert(raw_pixel(normal.s, x, y));
    EXPECT_EQ(face.size(), 1u);
    // A chosen card differs from a plain one over most of its face.
    int differ = 0;
    for (int y = 0; y < normal.h(); ++y)
        for (int x = 0; x < normal.w(); ++x) {
            Rgb a = rgb_at(normal.s, x, y), b = rgb_at(high.s, x, y);
            differ += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) > 60;
        }
    EXPECT_GT(differ, normal.w() * normal.h() / 2);
}

// Two-player banners are stacked on y 120: the label above, ready or winner
// below; everything stays under the top bar (y 15) and on the screen.
TEST(Data, StackedBannersStayOnTheTable) {
    Image ready("ready.png"), winner("winner.png"), p1("player1.png"),
        p2("player2.png");
    ASSERT_TRUE(ready.s && winner.s && p1.s && p2.s);
    for (Image *label : {&p1, &p2}) {
        EXPECT_GE(120 - label->h(), 15);
    }
    EXPECT_LE(120 + ready.h(), 240);
    EXPECT_LE(122 + winner.h(), 240);
    Image sure("button_takescore_sure.png"), plain("button_takescore.png");
    ASSERT_TRUE(sure.s && plain.s);
    EXPECT_EQ(sure.w(), plain.w()) << "the confirmation must hide the button";
    EXPECT_EQ(sure.h(), plain.h());
}

// Only the top 20 rows of the pop-up mascot are ever on the screen.
TEST(Data, PopupShowsItselfInTwentyRows) {
    Image pop("gorvel_popup.png");
    ASSERT_NE(pop.s, nullptr);
    EXPECT_GT(visible_in(pop.s, 0, 0, pop.w(), 20), pop.w() * 20 / 3);
}

struct Wav {
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;
    bool ok = false;
};

uint32_t le32(const unsigned char *p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t le16(const unsigned char *p) { return uint16_t(p[0] | p[1] << 8); }

Wav read_wav(const std::string &path) {
    Wav w;
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), {});
    if (b.size() < 12 || std::memcmp(&b[0], "RIFF", 4) || std::memcmp(&b[8], "WAVE", 4))
        return w;
    bool fmt = false, data = false;
    for (size_t at = 12; at + 8 <= b.size();) {
        const uint32_t len = le32(&b[at + 4]);
        const unsigned char *body = &b[at + 8];
        if (at + 8 + len > b.size()) return w;
        if (!std::memcmp(&b[at], "fmt ", 4) && len >= 16) {
            w.format = le16(body);
            w.channels = le16(body + 2);
            w.rate = int(le32(body + 4));
            w.bits = le16(body + 14);
            fmt = true;
        } else if (!std::memcmp(&b[at], "data", 4)) {
            for (uint32_t i = 0; i + 1 < len; i += 2)
                w.samples.push_back(int16_t(le16(body + i)));
            data = true;
        }
        at += 8 + len + (len & 1);
    }
    w.ok = fmt && data;
    return w;
}

TEST(Data, SoundsAreShortCleanStereoPcm) {
    std::set<std::vector<int16_t>> distinct;
    for (const SoundLimits &s : kSounds) {
        SCOPED_TRACE(s.file);
        Wav w = read_wav(data_path(s.file));
        ASSERT_TRUE(w.ok) << "not a RIFF WAVE with fmt and data";
        EXPECT_EQ(w.format, 1);
        EXPECT_EQ(w.channels, 2);
        EXPECT_EQ(w.rate, 22050);
        EXPECT_EQ(w.bits, 16);
        ASSERT_GT(w.samples.size(), 0u);
        const double seconds = double(w.samples.size()) / 2 / 22050;
        EXPECT_LE(seconds, s.max_seconds);
        int peak = 0;
        for (int16_t v : w.samples) peak = std::max(peak, std::abs(int(v)));
        EXPECT_LT(peak, 32000) << "clipped or at full scale";
        EXPECT_GT(peak, 3000) << "too quiet to hear";
        // Fades at both ends keep it from clicking on and off.
        EXPECT_LT(std::abs(int(w.samples.front())), 1000);
        EXPECT_LT(std::abs(int(w.samples.back())), 1000);
        distinct.insert(w.samples);
    }
    EXPECT_EQ(distinct.size(), 6u);
}

}  // namespace
