// The desktop's window beyond what SDL 1.2 does for it: a lost display, and
// full screen where it can work.
#pragma once
// Called once by init_platform, right after SDL_SetVideoMode: when SDL draws
// through X11, a lost display (server gone, window killed) then ends the
// program with the last words below, one line on stderr and exit status 1.
// Does nothing on other video drivers (the handheld's, the tests' dummy
// driver).
void plat_watch_display(void);
// What a lost display runs before it ends the program, at most once; null
// for nothing. Set by the game flow for the length of each name entry.
void plat_set_last_words(void (*last_words)(void));
// Called by the pad for Alt+Return: SDL_WM_ToggleFullScreen(screen), except
// that under X11 the maintained SDL 1.2 is not asked to enter full screen
// when no window manager can grant it, and that the classic one gets the
// pointer back over the window when it leaves full screen. Returns what SDL_WM_ToggleFullScreen
// returned, 0 when it was not called.
int plat_toggle_fullscreen(void);
