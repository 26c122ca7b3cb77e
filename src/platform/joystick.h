// Joystick 0 as the pad reads it at every sample, to catch up with button
// ups and downs whose events were lost. Included by the pad, and by the test
// seam, whose fake joystick has this shape and stands in for the device.
#pragma once

enum {
    JOY_BUTTONS = 18,  // the buttons a map can name: the console's 0 to 17
    JOY_AXES = 2       // the left stick: axis 0 across, axis 1 down
};

struct JoystickState {
    unsigned char button[JOY_BUTTONS];  // 1 while held
    int hat;                            // hat 0: SDL's up 1, right 2, down 4, left 8
    int axis[JOY_AXES];                 // -32768 (left, up) to 32767
};
