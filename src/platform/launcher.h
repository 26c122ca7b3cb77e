// The end of the program: the hand-back to the console's launcher, and the
// one path of every unrecoverable failure.
#pragma once

// Writes the message as it is and SDL's error text to standard error, quits
// SDL and hands back to the launcher; exits with status 1 when there is
// none. Called for every unrecoverable failure, from any layer.
[[noreturn]] void fatal_error(const char *message);
// chdir and execl of the launcher; returns only when it cannot run. Called
// by shutdown_platform and fatal_error.
void exec_launcher(void);
