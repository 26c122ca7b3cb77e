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
