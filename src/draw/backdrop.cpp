// The animated menu backdrop: drifting tiles, the mascot peeking up from the
// bottom edge, the ring of three left-hand panels and the top-ten list.
#include "draw/backdrop.h"
#include <stdio.h>
#include <string.h>
#include "draw/sprites.h"
#include "platform/assets.h"
#include "rules/high_scores.h"

int info_panel = 0;
int panel_slide = 0;

namespace {

// The tiles' drift and the mascot's peeking go on from one menu visit to the
// next, and name entry drifts the same tiles.
int backdrop_scroll = 0;
int popup_state = 0, popup_timer = 0, popup_y = 0;

enum {
    TILE = 64,
    PANEL_HEIGHT = 240,
    SLIDE_STEP = 40,
    POPUP_X = 230,
    POPUP_TOP = 220,
    POPUP_START = 240,
    POPUP_SPEED = 4,
    POPUP_SHOWN_LAST = 49,
    POPUP_HIDDEN_FRAMES = 200,
    TITLE_X = 20, TITLE_Y = 50, VERSION_X = 10, VERSION_Y = 225, INSTRUCTIONS_XY = 5,
    HEADING_X = 30, HEADING_BOTTOM = 40, FIRST_ROW_Y = 64, ROW_STEP = 12,
    RANK_X = 2, DOT_X = 19, NAME_X = 30, SCORE_X = 120
};

}  // namespace

const char VERSION_LABEL[] = "v1.0";

void draw_backdrop_tiles(void) {
    backdrop_scroll = (backdrop_scroll + 1) % TILE;
    for (int c = 0; c <= 5; c++)
        for (int r = -1; r <= 4; r++)
            draw_image(TILE * c - backdrop_scroll, backdrop_scroll + TILE * r, assets.background_tile, screen);
}

int panel_offset(int panel, int shown, int slide) {
    // The panels are a ring: the next one waits a screen below the one in
    // view, the previous one a screen above.
    switch (((panel - shown) % 3 + 3) % 3) {
    case 1: return slide + PANEL_HEIGHT;
    case 2: return slide - PANEL_HEIGHT;
    default: return slide;
    }
}

int slide_step(int slide) {
    // A slide that is not a multiple of the step must still come to rest
    // rather than swing around zero for ever.
    if (slide > SLIDE_STEP || slide < -SLIDE_STEP)
        return slide > 0 ? slide - SLIDE_STEP : slide + SLIDE_STEP;
    return 0;
}

namespace {

void popup_step(void) {
    if (popup_state == 1) {
        popup_y -= POPUP_SPEED;
        if (popup_y <= POPUP_TOP) {
            popup_y = POPUP_TOP;
            popup_state = 2;
        }
    } else if (popup_state >= 2 && popup_state <= POPUP_SHOWN_LAST) {
        popup_state++;
    } else {
        popup_y += POPUP_SPEED;
        if (popup_y > 239)
            popup_state = 0;
    }
}

void draw_popup(void) {
    if (popup_state > 0) {
        draw_image(POPUP_X, popup_y, assets.gorvel_popup, screen);
        return;
    }
    if (++popup_timer > POPUP_HIDDEN_FRAMES) {
        popup_state = 1;
        popup_timer = 0;
        popup_y = POPUP_START;
    }
}

void draw_panels(void) {
    if (info_panel < 0 || info_panel > 2)
        return;
    int title = panel_offset(0, info_panel, panel_slide);
    draw_score_list(panel_offset(1, info_panel, panel_slide));
    draw_image(TITLE_X, title + TITLE_Y, assets.title, screen);
    set_font(assets.font3);
    draw_text(VERSION_X, title + VERSION_Y, screen, VERSION_LABEL);
    int instructions = panel_offset(2, info_panel, panel_slide);
    draw_image(INSTRUCTIONS_XY, instructions + INSTRUCTIONS_XY, assets.instructions, screen);
}

}  // namespace

void draw_menu_backdrop(void) {
    draw_backdrop_tiles();
    panel_slide = slide_step(panel_slide);
    popup_step();
    draw_popup();
    draw_panels();
}

namespace {

int is_new_entry(int row) { return row == new_entry_row[0] || row == new_entry_row[1]; }

void draw_score_row(int row, int y) {
    // A loaded name may fill all 20 bytes without a terminator; a copy with
    // one keeps the text drawing inside the field.
    char name[sizeof high_scores[0].name + 1];
    memcpy(name, high_scores[row].name, sizeof high_scores[row].name);
    name[sizeof name - 1] = '\0';
    char text[16];
    set_font(is_new_entry(row) ? assets.font2_hilite : assets.font2);
    snprintf(text, sizeof text, "%2i", row + 1);
    draw_text(RANK_X, y, screen, text);
    draw_text(DOT_X, y, screen, ".");
    draw_text(NAME_X, y, screen, name);
    snprintf(text, sizeof text, "%7i", (int)high_scores[row].score);
    draw_text(SCORE_X, y, screen, text);
}

}  // namespace

void draw_score_list(int o) {
    draw_image(HEADING_X, o + HEADING_BOTTOM - image_height(assets.topgorvels), assets.topgorvels, screen);
    for (int i = 0; i < HIGH_SCORE_ROWS; i++)
        draw_score_row(i, o + FIRST_ROW_Y + ROW_STEP * i);
    set_font(assets.font1);
}
