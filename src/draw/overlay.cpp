// The volume overlay: the level for two seconds after each change.
#include "draw/overlay.h"
#include <stdio.h>
#include "draw/sprites.h"
#include "input/input.h"
#include "input/sound.h"
#include "shell/platform.h"

enum { OVERLAY_Y = 215 };

void volume_overlay_text(int level, char out[OVERLAY_TEXT_SIZE]) {
    if (level == 0)
        snprintf(out, OVERLAY_TEXT_SIZE, "MUTE");
    else
        snprintf(out, OVERLAY_TEXT_SIZE, "VOLUME %3i%%", level * 100 / 128);
}

void draw_volume_overlay(SDL_Surface *destination, SDL_Surface *font) {
    if (!(plat_ticks() < volume_shown_until))
        return;
    set_font(font);
    char text[OVERLAY_TEXT_SIZE];
    volume_overlay_text(get_volume(), text);
    draw_text(-1, OVERLAY_Y, destination, text);
}
