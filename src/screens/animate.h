// The deal and the animation toolkit of the table: animations write
// positions into the table record and let draw_table show them frame by
// frame while input keeps being polled.
#pragma once

// Called by start_table: a fresh deck dealt card by card with animation.
void shuffle_and_deal(void);
// Keeps the table screen alive for ms milliseconds with the given overlay,
// drawing a frame and polling input every 10 ms step (as fast as it can draw
// on the handheld); every table animation waits through it.
void animate_for(int ms, int overlay);
// The last frame of an animation reaches the screen, also where the frame
// rate held it back. Called as each flight, stock turn, banner and bonus
// count ends.
void end_animation(void);
// The waste card flies to a slot in six steps; the caller then stores it.
void animate_deal_card(int slot);
// Two cards fly toward the top-left corner in ten steps; the caller then
// empties their cells.
void animate_pair_away(int first, int second);
// Called by pick_card and the stock press: the two-frame stock animation,
// then the next stock card onto the waste with a click.
void turn_stock_card(void);
