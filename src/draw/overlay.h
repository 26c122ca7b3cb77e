// The volume overlay, drawn last on every screen for two seconds after a
// volume change, and the presentation of every frame after it.
#pragma once
#include "platform/video.h"

// Draws "MUTE" or the level centred at y 215 while it is due; otherwise
// nothing, leaving the current font as it was. Every screen calls it with
// screen and font3 just before presenting a frame.
void draw_volume_overlay(Image *destination, Image *font);
enum { OVERLAY_TEXT_SIZE = 24 };
// The overlay's text for a level: "MUTE" or "VOLUME %3i%%".
void volume_overlay_text(int level, char out[OVERLAY_TEXT_SIZE]);

// The end of every frame: the volume overlay over everything, then the frame
// presented. A display that refuses it ends the game with "Error in
// SDL_Flip", unless the caller takes the refusal (-1) itself: name entry keeps
// the name as it stands then. Called by the table screen, the menus and name
// entry once per frame.
enum { REFUSAL_FATAL = 1, REFUSAL_RETURNED = 0 };
int present_frame(int refusal);
// An animation's last frame, where the frame rate held it back, presented;
// a refusal is fatal. Called by the table's animations as each ends.
void present_held_frame(void);
