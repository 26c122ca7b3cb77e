// The volume overlay: the level for two seconds after each change; and the
// end of every frame.
#include "draw/overlay.h"
#include <stdio.h>
#include "draw/sprites.h"
#include "input/input.h"
#include "platform/assets.h"
#include "platform/audio.h"
#include "platform/platform.h"
#include "platform/ticks.h"

namespace {

enum { OVERLAY_Y = 215 };

const char REFUSED[] = "Error in SDL_Flip";

}  // namespace

void volume_overlay_text(int level, char out[OVERLAY_TEXT_SIZE]) {
    if (level == 0)
        snprintf(out, OVERLAY_TEXT_SIZE, "MUTE");
    else
        snprintf(out, OVERLAY_TEXT_SIZE, "VOLUME %3i%%", level * 100 / 128);
}

void draw_volume_overlay(Image *destination, Image *font) {
    // 0 is "hidden", whatever the clock says.
    if (volume_shown_until == 0 || !tick_after(volume_shown_until, plat_ticks()))
        return;
    set_font(font);
    char text[OVERLAY_TEXT_SIZE];
    volume_overlay_text(get_volume(), text);
    draw_text(-1, OVERLAY_Y, destination, text);
}

int present_frame(int refusal) {
    draw_volume_overlay(screen, assets.font3);
    int result = plat_flip();
    if (result == -1 && refusal == REFUSAL_FATAL)
        fatal_error(REFUSED);
    return result;
}

void present_held_frame(void) {
    if (plat_show_held_frame() == -1)
        fatal_error(REFUSED);
}
