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

int game_in_progress(void) { return table_number >= 1 && table_number <= LAST_TABLE; }

// Resume is drawn, and can be chosen, only during a game.
int first_offered(void) { return game_in_progress() ? 0 : 1; }

// What a click lies on: the entry whose button is drawn there, or anywhere
// else while a panel is shown, the panel, where a tap is a press.
enum { MENU_PANEL = 0 };
int entry_at(int x, int y) {
    for (int i = first_offered(); i < MENU_ENTRIES; i++)
        if (image_covers(*menu_entries[i].image, BUTTON_X, menu_entries[i].y, x, y))
            return i + 1;
    return info_panel ? MENU_PANEL : -1;
}

int menu_step_up(int selection, int with_resume) {
    selection = selection - 1 < 1 ? MENU_QUIT : selection - 1;
    if (selection == MENU_RESUME && !with_resume)
        selection = MENU_QUIT;
    return selection;
}

int menu_step_down(int selection, int with_resume) {
    selection = selection + 1 > MENU_QUIT ? MENU_RESUME : selection + 1;
    if (selection == MENU_RESUME && !with_resume)
        selection = MENU_NEW_GAME;
    return selection;
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
    int with_resume = game_in_progress();
    if (press_up) {
        press_up = 0;
        selection = menu_step_up(selection, with_resume);
        play_sound(SOUND_CLICK3);
    }
    if (press_down) {
        press_down = 0;
        selection = menu_step_down(selection, with_resume);
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
    int resume = press_escape && with_resume;
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
    for (int i = first_offered(); i < MENU_ENTRIES; i++)
        draw_image(BUTTON_X, menu_entries[i].y, *menu_entries[i].image, screen);
    draw_image(SELECTOR_X, menu_entries[chosen - 1].y + SELECTOR_DROP, assets.selector, screen);
}

void run_main_menu(void) {
    selection = game_in_progress() ? MENU_RESUME : MENU_NEW_GAME;
    reset_input();
    panel_slide = 0;
    run_menu_loop([] { draw_main_menu(selection); }, menu_input);
    leave_menu();
}
