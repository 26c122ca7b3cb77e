// The entry routine's steps, apart so that tests can run them in-process.
#pragma once

// Writes the start-up banner to standard output.
void print_banner(void);
// The game's start values (player names, flags), set by init_platform.
void set_start_values(void);
// Frees assets, closes audio, quits SDL and hands back to the launcher;
// returns only when the launcher cannot be started.
void shutdown_platform(void);
// chdir and execl of the console's launcher; returns if it cannot run.
void exec_launcher(void);
