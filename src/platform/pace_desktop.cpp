// The pace of the desktop and the browser: a loop with nothing to do sleeps
// until its next deadline, and frames reach the display at most every 16 ms
// (no display shows more than 60 a second), while animations keep their
// 10 ms steps of game time.
#include <stdint.h>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif
#include "platform/device.h"
#include "platform/platform.h"
#include "platform/ticks.h"

namespace {

enum { FRAME_GAP_MS = 16 };

int presented = 0;        // a frame has been presented since start-up
uint32_t presented_at = 0;
uint32_t present_ms = 0;  // how long presenting the last frame took
int held = 0;             // the screen holds a frame not yet presented
int held_refused = 0;     // a held frame that the display refused

uint32_t present_due(void) { return presented_at + FRAME_GAP_MS; }

int present(void) {
    held = 0;
    presented = 1;
    presented_at = device_ticks();
    int result = device_present();
    present_ms = device_ticks() - presented_at;
    return result;
}

void sleep_to(uint32_t tick) {
    uint32_t now = device_ticks();
    if (tick_after(tick, now))
        device_sleep(tick - now);
}

// Sleeps until the tick, presenting the held frame on the way once it may
// be and when that ends in time. Returns whether it slept at all.
int sleep_until(uint32_t tick) {
    uint32_t before = device_ticks();
    uint32_t start = tick_after(present_due(), before) ? present_due() : before;
    if (held && !tick_after(start + present_ms, tick)) {
        sleep_to(present_due());
        if (present() == -1)
            held_refused = 1;
    }
    sleep_to(tick);
    return device_ticks() != before;
}

}  // namespace

void plat_delay(uint32_t ms) { sleep_until(device_ticks() + ms); }

void plat_wait_until(uint32_t tick) {
    int slept = sleep_until(tick);
#ifdef __EMSCRIPTEN__
    // The page shows a frame and takes keys only while the game sleeps: an
    // animation whose frames run late would otherwise hold the page frozen
    // to its end.
    if (!slept)
        emscripten_sleep(0);
#else
    (void)slept;
#endif
}

void plat_idle_until(uint32_t tick) {
    uint32_t latest = device_ticks() + IDLE_LONGEST_MS;
    sleep_until(plat_earliest(tick, latest));
}

int plat_flip(void) {
    if (held_refused) {
        held_refused = 0;
        return -1;
    }
    if (presented && tick_after(present_due(), device_ticks())) {
        held = 1;
        return 0;
    }
    return present();
}

int plat_show_held_frame(void) {
    if (held) {
        sleep_to(present_due());
        if (present() == -1)
            held_refused = 1;
    }
    int refused = held_refused;
    held_refused = 0;
    return refused ? -1 : 0;
}
