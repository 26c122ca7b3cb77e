// The volume overlay, drawn last on every screen for two seconds after a
// volume change.
#pragma once
#include "platform/video.h"

// Draws "MUTE" or the level centred at y 215 while it is due; otherwise
// nothing, leaving the current font as it was. Every screen calls it with
// screen and font3 just before presenting a frame.
void draw_volume_overlay(Image *destination, Image *font);
enum { OVERLAY_TEXT_SIZE = 24 };
// The overlay's text for a level: "MUTE" or "VOLUME %3i%%".
void volume_overlay_text(int level, char out[OVERLAY_TEXT_SIZE]);
