// The loop that the main menu and the player-count menu share.
#pragma once

// The menus and name entry draw a frame every this many ms.
enum { MENU_FRAME_MS = 50 };

// Until `input` reports the menu done or exit_requested is set: the wait,
// the menu's frame drawn (backdrop and all) and presented, then one poll of
// input for `input` to act on. Called by run_main_menu and
// run_player_count_menu.
void run_menu_loop(void (*draw)(void), int (*input)(void));
