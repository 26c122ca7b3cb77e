// Time arithmetic that every layer shares. Included by the rules, the input
// latches and the screens; it touches nothing but its arguments.
#pragma once
#include <stdint.h>

// Milliseconds of the platform clock (plat_ticks) wrap after 49 days. Two
// tick values are ordered by their difference, so a deadline stays ordered
// across the wrap: true when tick `a` lies after tick `b`.
inline bool tick_after(uint32_t a, uint32_t b) { return (int32_t)(a - b) > 0; }
