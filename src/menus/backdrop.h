// The animated menu backdrop and the top-ten list.
#pragma once

extern int backdrop_scroll;
extern int popup_state, popup_timer, popup_y;

// One frame of the whole backdrop; advances its animations. Does not flip.
void draw_menu_backdrop(void);
// The scrolling tile layer alone, advanced one step.
void draw_backdrop_tiles(void);
// The top-ten list with its heading for panel offset o.
void draw_score_list(int o);
