// The main menu: a column of five buttons over the backdrop, also the pause
// screen of a running table.
#include "screens/main_menu.h"
#include "draw/backdrop.h"
#include "draw/overlay.h"
#include "draw/sprites.h"
#include "input/input.h"
#include "platform/assets.h"
#include "platform/audio.h"
#include "platform/platform.h"
#include "rules/game_state.h"
#include "rules/high_scores.h"
#include "screens/menu_loop.h"
#include "screens/player_menu.h"

namespace {

enum { MENU_RESUME = 1, MENU_NEW_GAME, MENU_HIGH_SCORES, MENU_INSTRUCTIONS, MENU_QUIT, MENU_ENTRIES = 5 };

struct MenuEntry {
    Image *const *image;
    int y;
};

enum { BUTTON_X = 200, SELECTOR_X = 280, SELECTOR_DROP = 10, PANEL_SLIDE_IN = 240 };

int selection;  // 1 Resume .. 5 Quit, while the menu runs

// Selection n is row n - 1; the selector stands 10 pixels below its button.
const MenuEntry menu_entries[MENU_ENTRIES] = {
    {&assets.button_resume, 50},      {&assets.button_newgame, 75},      {&assets.button_highscores, 100},
    {&assets.button_instructions, 125}, {&assets.button_quit, 150},
};

// Resume is offered, drawn and chosen, only while a game is in progress:
// the entries run from the first offered to Quit.
int first_offered(void) { return table_number >= 1 && table_number <= LAST_TABLE ? MENU_RESUME : MENU_NEW_GAME; }

// What a click lies on: the entry whose button is drawn there, or anywhere
// else while a panel is shown, the panel, where a tap is a press.
enum { MENU_PANEL = 0 };
int entry_at(int x, int y) {
    for (int n = first_offered(); n <= MENU_QUIT; n++)
        if (image_covers(*menu_entries[n - 1].image, BUTTON_X, menu_entries[n - 1].y, x, y))
            return n;
    return info_panel ? MENU_PANEL : -1;
}

// Up and down wrap round the entries offered.
int menu_step(int from, int step) {
    int first = first_offered(), count = MENU_QUIT - first + 1;
    return first + (from - first + step + count) % count;
}

// A second press of a panel's entry brings the title back from where the
// panel came; otherwise the chosen panel slides in from its side of the ring.
void toggle_panel(int panel, int slide_in) {
    if (info_panel == panel) {
        info_panel = 0;
        panel_slide = -slide_in;
    } else {
        info_panel = panel;
        panel_slide = slide_in;
    }
}

// Returns 1 when the choice ends the menu.
int choose(int selection) {
    switch (selection) {
    case MENU_RESUME: return 1;
    case MENU_NEW_GAME: new_game_requested = 1; return 1;
    case MENU_HIGH_SCORES: toggle_panel(1, PANEL_SLIDE_IN); return 0;
    case MENU_INSTRUCTIONS: toggle_panel(2, -PANEL_SLIDE_IN); return 0;
    default: exit_requested = 1; return 0;
    }
}


// One pass of input; returns 1 when the menu is finished.
int menu_input(void) {
    if (press_up) {
        press_up = 0;
        selection = menu_step(selection, -1);
        play_sound(SOUND_CLICK3);
    }
    if (press_down) {
        press_down = 0;
        selection = menu_step(selection, +1);
        play_sound(SOUND_CLICK3);
    }
    // A click chooses its entry as moving there and a press would.
    int clicked = take_click(entry_at);
    if (clicked > MENU_PANEL && clicked != selection) {
        selection = clicked;
        play_sound(SOUND_CLICK3);
    }
    // Escape resumes a paused table, as choosing Resume does; elsewhere it
    // does nothing.
    int resume = press_escape && first_offered() == MENU_RESUME;
    press_escape = 0;
    if (!press_action && !hold_start && clicked < 0 && !resume)
        return 0;
    press_action = hold_start = 0;
    play_sound(SOUND_CLICK1);
    return choose(resume ? MENU_RESUME : selection);
}

void leave_menu(void) {
    reset_input();
    if (new_game_requested)
        run_player_count_menu();
    info_panel = 0;
    new_entry_row[0] = new_entry_row[1] = -1;
}

}  // namespace

void draw_main_menu(int chosen) {
    draw_menu_backdrop();
    for (int n = first_offered(); n <= MENU_QUIT; n++)
        draw_image(BUTTON_X, menu_entries[n - 1].y, *menu_entries[n - 1].image, screen);
    draw_image(SELECTOR_X, menu_entries[chosen - 1].y + SELECTOR_DROP, assets.selector, screen);
}

void run_main_menu(void) {
    selection = first_offered();
    reset_input();
    panel_slide = 0;
    run_menu_loop([] { draw_main_menu(selection); }, menu_input);
    leave_menu();
}
