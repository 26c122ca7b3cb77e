// The handheld's pace: the table and its animations never sleep, since its
// kernel's 10 ms timer would stretch every short sleep and the table's clock
// with it; their pace is that of drawing, and every frame drawn is presented.
#include "platform/device.h"
#include "platform/platform.h"

void plat_delay(uint32_t ms) { device_sleep(ms); }

void plat_wait_until(uint32_t) {}

void plat_idle_until(uint32_t) {}

int plat_flip(void) { return device_present(); }

int plat_show_held_frame(void) { return 0; }
