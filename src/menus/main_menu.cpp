// PLACEHOLDER until the main menu lands: returns at once, as a resume would.
#include "menus/main_menu.h"

int info_panel = 0;
int panel_slide = 0;

void run_main_menu(void) {}
