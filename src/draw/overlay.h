// The volume overlay, drawn last on every screen for two seconds after a
// volume change.
#pragma once
#include <SDL.h>

void draw_volume_overlay(SDL_Surface *destination, SDL_Surface *font);
enum { OVERLAY_TEXT_SIZE = 24 };
// The overlay's text for a level: "MUTE" or "VOLUME %3i%%".
void volume_overlay_text(int level, char out[OVERLAY_TEXT_SIZE]);
