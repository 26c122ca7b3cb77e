// The animated menu backdrop and the top-ten list, drawn under the main
// menu, the player-count menu and (the tile layer alone) name entry.
#pragma once

// The panel in view (0 title, 1 high scores, 2 instructions) and the pixels
// the panels are still displaced; the menus set them, name entry opens the
// high scores, and the backdrop moves the slide toward rest.
extern int info_panel;
extern int panel_slide;
// The version label under the title.
extern const char VERSION_LABEL[];

// One frame of the whole backdrop; advances its animations. Does not flip.
// Called once per frame by the main and player-count menus, after their delay.
void draw_menu_backdrop(void);
// The scrolling tile layer alone, advanced one step; also the whole backdrop
// of the name-entry screen.
void draw_backdrop_tiles(void);
// The top-ten list with its heading for panel offset o; drawn by
// draw_menu_backdrop as one of its panels.
void draw_score_list(int o);

// Top of panel `panel` (0 title, 1 list, 2 instructions) while panel `shown`
// is in view displaced by `slide` pixels; used by draw_menu_backdrop.
int panel_offset(int panel, int shown, int slide);
// The slide one frame later: 40 pixels nearer to rest, never past it.
int slide_step(int slide);
