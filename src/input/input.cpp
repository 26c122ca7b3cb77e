// Button input: events and pad samples become one-shot latches, with
// keyboard-like auto-repeat for the directions; the volume keys act here.
#include "input/input.h"
#include "platform/audio.h"
#include "platform/pad.h"
#include "platform/platform.h"
#include "platform/ticks.h"
#include "rules/game_state.h"

int press_left = 0, press_right = 0, press_up = 0, press_down = 0;
int press_action = 0, hold_start = 0;
int stock_requested = 0, takescore_requested = 0;
int press_escape = 0;
PointerClick pointer_click = {0, 0, 0, 0, 0};
uint32_t volume_shown_until = 0;

namespace {

int dir_held = 0;
uint32_t dir_repeat_at = 0;
uint32_t dir_release_at = 0;
uint32_t vol_repeat_at = 0;
// START went down and up within one drain of the queue: its release waits
// for the next poll, so that a quick tap is seen by the screen polling now.
int start_release_due = 0;
// The pointer's button is down, since this screen began, at (down_x, down_y).
int pointer_held = 0, down_x = 0, down_y = 0;
// Characters typed and not yet taken, oldest first.
enum { TYPED_MAX = 16 };
int typed[TYPED_MAX], typed_count = 0;

enum {
    FIRST_REPEAT_MS = 350,
    REPEAT_MS = 150,
    RELEASE_HOLDOFF_MS = 9,
    VOLUME_STEP_MS = 50,
    MUTE_STEP_MS = 200,
    OVERLAY_MS = 2000,
    NOTHING_DUE_MS = 1000
};

struct DirectionLatch {
    int button;
    int *latch;
};

// The order matters: with several directions down only the first latches.
const DirectionLatch directions[] = {
    {BTN_LEFT, &press_left}, {BTN_RIGHT, &press_right},
    {BTN_UP, &press_up},     {BTN_DOWN, &press_down},
};

const int pad_directions[] = {BTN_LEFT,     BTN_RIGHT,    BTN_UP,        BTN_DOWN,
                                     BTN_UPLEFT,   BTN_UPRIGHT,  BTN_DOWNLEFT,  BTN_DOWNRIGHT};

void take_events(void) {
    if (start_release_due) {
        hold_start = 0;
        start_release_due = 0;
    }
    int start_went_down = 0;
    PadEvent event;
    while (pad_next_event(&event)) {
        if (event.type == PAD_QUIT) {
            exit_requested = 1;
        } else if (event.type == PAD_POINTER_DOWN) {
            pointer_held = 1;
            down_x = event.x;
            down_y = event.y;
        } else if (event.type == PAD_POINTER_UP) {
            if (pointer_held)
                pointer_click = {1, down_x, down_y, event.x, event.y};
            pointer_held = 0;
        } else if (event.type == PAD_TEXT) {
            if (typed_count < TYPED_MAX)
                typed[typed_count++] = event.text;
        } else if (event.type == PAD_BUTTON_DOWN) {
            int b = event.button;
            if (b == BTN_START) {
                hold_start = 1;
                start_went_down = 1;
                start_release_due = 0;
            } else if (b >= BTN_A && b <= BTN_Y) {
                press_action = 1;
            } else if (b == BTN_ESCAPE) {
                press_escape = 1;
            }
        } else if (event.button == BTN_START) {
            if (start_went_down)
                start_release_due = 1;
            else
                hold_start = 0;
        }
    }
}

void latch_directions(uint32_t now) {
    for (const DirectionLatch &d : directions) {
        if (!pad_button(d.button))
            continue;
        if (!dir_held) {
            dir_held = 1;
            *d.latch = 1;
            dir_repeat_at = now + FIRST_REPEAT_MS;
        } else if (tick_after(now, dir_repeat_at)) {
            *d.latch = 1;
            dir_repeat_at = now + REPEAT_MS;
        }
    }
    int any_down = 0;
    for (int b : pad_directions)
        any_down |= pad_button(b);
    if (any_down)
        dir_release_at = now + RELEASE_HOLDOFF_MS;
    else if (tick_after(now, dir_release_at))
        dir_held = 0;
}

void volume_keys(uint32_t now) {
    if (!tick_after(now, vol_repeat_at))
        return;
    int up = pad_button(BTN_VOLUP), down = pad_button(BTN_VOLDOWN);
    if (up && down) {
        vol_repeat_at = now + MUTE_STEP_MS;
        toggle_mute();
    } else if (down) {
        vol_repeat_at = now + VOLUME_STEP_MS;
        volume_down();
    } else if (up) {
        vol_repeat_at = now + VOLUME_STEP_MS;
        volume_up();
    } else {
        return;
    }
    volume_shown_until = now + OVERLAY_MS;
}

}  // namespace

void poll_input(void) {
    take_events();
    uint32_t now = plat_ticks();
    pad_sample();
    latch_directions(now);
    volume_keys(now);
}

uint32_t input_next_deadline(void) {
    uint32_t now = plat_ticks(), next = now + NOTHING_DUE_MS;
    // A repeat is due at the first poll after its tick.
    if (dir_held)
        next = plat_earliest(next, dir_repeat_at + 1);
    if (pad_button(BTN_VOLUP) || pad_button(BTN_VOLDOWN))
        next = plat_earliest(next, vol_repeat_at + 1);
    return tick_after(next, now) ? next : now;
}

int input_pending(void) {
    return press_left || press_right || press_up || press_down || press_action || hold_start || press_escape ||
           pointer_click.pending;
}

int take_click(int (*target_at)(int x, int y)) {
    if (!pointer_click.pending)
        return -1;
    pointer_click.pending = 0;
    int target = target_at(pointer_click.down_x, pointer_click.down_y);
    return target == target_at(pointer_click.up_x, pointer_click.up_y) ? target : -1;
}

int take_typed(void) {
    if (typed_count == 0)
        return 0;
    int c = typed[0];
    for (int i = 1; i < typed_count; i++)
        typed[i - 1] = typed[i];
    typed_count--;
    return c;
}

void reset_input(void) {
    volume_shown_until = 0;
    press_left = press_right = press_up = press_down = 0;
    press_action = hold_start = press_escape = 0;
    stock_requested = takescore_requested = 0;
    pointer_click.pending = pointer_held = typed_count = 0;
}
