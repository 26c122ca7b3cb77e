// The sound device: the master volume of all sound effects, and how every
// effect is played.
#pragma once

// Called once by init_platform, right after the audio device opens.
void set_default_volume(void);
// Called by poll_input for the volume keys; each applies the new level.
void volume_up(void);
void volume_down(void);
void toggle_mute(void);
// The level, 0 while muted; read by the volume overlay.
int get_volume(void);
// Plays a sound effect of the catalogue (SOUND_CLICK1 ...) once, on the
// first free channel; a sound that did not load is skipped.
void play_sound(int sound);
