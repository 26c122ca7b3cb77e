// The animated menu backdrop: drifting tiles, the mascot peeking up from the
// bottom edge, the ring of three left-hand panels and the top-ten list.
#include "menus/backdrop.h"
#include <stdio.h>
#include <string.h>
#include "draw/sprites.h"
#include "menus/main_menu.h"
#include "scores/high_scores.h"
#include "shell/assets.h"
#include "shell/platform.h"

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
    POPUP_HIDDEN_FRAMES = 200
};

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

static void popup_step(void) {
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

static void draw_popup(void) {
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

static void draw_panels(void) {
    if (info_panel < 0 || info_panel > 2)
        return;
    int title = panel_offset(0, info_panel, panel_slide);
    draw_score_list(panel_offset(1, info_panel, panel_slide));
    draw_image(20, title + 50, assets.title, screen);
    set_font(assets.font3);
    draw_text(10, title + 225, screen, "v1.0");
    draw_image(5, panel_offset(2, info_panel, panel_slide) + 5, assets.instructions, screen);
}

void draw_menu_backdrop(void) {
    draw_backdrop_tiles();
    panel_slide = slide_step(panel_slide);
    popup_step();
    draw_popup();
    draw_panels();
}

static int is_new_entry(int row) { return row == new_entry_row[0] || row == new_entry_row[1]; }

static void draw_score_row(int row, int y) {
    // A loaded name may fill all 20 bytes without a terminator; a copy with
    // one keeps the text drawing inside the field.
    char name[sizeof high_scores[0].name + 1];
    memcpy(name, high_scores[row].name, sizeof high_scores[row].name);
    name[sizeof name - 1] = '\0';
    char text[16];
    set_font(is_new_entry(row) ? assets.font2_hilite : assets.font2);
    snprintf(text, sizeof text, "%2i", row + 1);
    draw_text(2, y, screen, text);
    draw_text(19, y, screen, ".");
    draw_text(30, y, screen, name);
    snprintf(text, sizeof text, "%7i", (int)high_scores[row].score);
    draw_text(120, y, screen, text);
}

void draw_score_list(int o) {
    draw_image(30, o + 40 - assets.topgorvels->h, assets.topgorvels, screen);
    for (int i = 0; i < 10; i++)
        draw_score_row(i, o + 64 + 12 * i);
    set_font(assets.font1);
}
