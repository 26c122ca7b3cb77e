// The main menu, also the pause screen of a table.
#pragma once

extern int info_panel;   // 0 title, 1 high scores, 2 instructions
extern int panel_slide;  // pixels the panels are still displaced

void run_main_menu(void);
