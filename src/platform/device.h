// The device under the platform: its clock, sleeping, its queue of events,
// joystick 0's state, presenting the screen and starting a sound. The game
// ships with device.cpp, on SDL; the test builds link seam.cpp in its place,
// which runs the same calls on a virtual clock with scripted input and is
// the model of a new front end. Called only from inside the platform layer.
#pragma once
#include <SDL.h>
#include <stdint.h>
#include "platform/joystick.h"

struct Mix_Chunk;

// Milliseconds since the device started.
uint32_t device_ticks(void);
// Gives the processor away for this long.
void device_sleep(uint32_t ms);
// The next raw event of the queue; 0 once it is empty.
int device_next_event(SDL_Event *event);
// Opens joystick 0 into *joystick when the system lists one: 1 opened, 0
// none listed, -1 listed but it could not be opened.
int device_open_joystick(SDL_Joystick **joystick);
// Joystick 0's controls now, as far as a map can name them; 0 without one.
int device_read_joystick(SDL_Joystick *joystick, JoystickState *state);
// Shows the screen surface; -1 when the display refuses the frame.
int device_present(void);
// Starts a sound effect of the catalogue on the first free channel.
void device_play(int sound, Mix_Chunk *chunk);
