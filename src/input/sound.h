// The master volume of all sound effects, and how every effect is played.
#pragma once
#include <SDL_mixer.h>

extern int volume;        // 0..128, the level last given to the mixer
extern int muted;         // 1 while muted; volume is then 0
extern int saved_volume;  // the level to restore when mute ends

// Called once by init_platform, right after the audio device opens.
void set_default_volume(void);
// Called by poll_input for the volume keys.
void volume_up(void);
void volume_down(void);
void toggle_mute(void);
int get_volume(void);
// Plays a chunk once on the first free channel; a null chunk is skipped.
void play_sound(Mix_Chunk *chunk);
