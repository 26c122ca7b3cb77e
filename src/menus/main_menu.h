// The main menu, also the pause screen of a table.
#pragma once

extern int info_panel;   // 0 title, 1 high scores, 2 instructions
extern int panel_slide;  // pixels the panels are still displaced

// Called by the game flow between games and by the table controls on START;
// the outcome is left in exit_requested, new_game_requested (then
// player_count holds the choice) or neither (Resume).
void run_main_menu(void);

// The selection (1 Resume .. 5 Quit) after UP or DOWN; Resume is skipped
// when no game is in progress. Used by run_main_menu.
int menu_step_up(int selection, int with_resume);
int menu_step_down(int selection, int with_resume);
