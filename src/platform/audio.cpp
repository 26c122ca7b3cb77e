// The master volume and the playing of sound effects.
#include "platform/audio.h"
#include <SDL_mixer.h>
#include "platform/assets.h"
#include "platform/device.h"

namespace {

int volume = 0;        // 0..128, the level last given to the mixer
int muted = 0;         // 1 while muted; volume is then 0
int saved_volume = 0;  // the level to restore when mute ends

enum { DEFAULT_VOLUME = 90, VOLUME_STEP = 7, MAX_VOLUME = 128 };

void apply_volume(void) { Mix_Volume(-1, volume); }

void unmute(void) {
    if (muted) {
        volume = saved_volume;
        muted = 0;
    }
}

}  // namespace

void set_default_volume(void) {
    volume = DEFAULT_VOLUME;
    apply_volume();
    muted = 0;
}

void volume_up(void) {
    unmute();
    volume += VOLUME_STEP;
    if (volume > MAX_VOLUME)
        volume = MAX_VOLUME;
    apply_volume();
}

// The floor is 1, not 0: a level of 0 means muted, and only muting gives it.
void volume_down(void) {
    unmute();
    volume -= VOLUME_STEP;
    if (volume <= 0)
        volume = 1;
    apply_volume();
}

void toggle_mute(void) {
    if (muted) {
        unmute();
    } else {
        saved_volume = volume;
        volume = 0;
        muted = 1;
    }
    apply_volume();
}

int get_volume(void) { return volume; }

void play_sound(int sound) {
    if (sound < 0 || sound >= SOUND_COUNT || !assets.sounds[sound])
        return;
    device_play(sound, assets.sounds[sound]);
}
