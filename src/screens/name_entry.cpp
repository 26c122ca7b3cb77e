// Name entry: the player walks a grid of characters with the pad, picks with
// a face button and accepts with START or "}".
#include "screens/name_entry.h"
#include <stdio.h>
#include "draw/backdrop.h"
#include "draw/overlay.h"
#include "draw/sprites.h"
#include "input/input.h"
#include "platform/assets.h"
#include "platform/audio.h"
#include "platform/pad.h"
#include "platform/platform.h"
#include "rules/game_state.h"
#include "rules/high_scores.h"
#include "rules/name_grid.h"
#include "screens/menu_loop.h"

namespace {

enum {
    CONGRATS_Y = 5, PLAYER_Y = 30, TOP_TEN_Y = 40, SCORE_Y = 50, PROMPT_Y = 60, ACCEPT_Y = 225,
    BOX_X = 60, BOX_Y = 72, BOX_W = 200, BOX_H = 15,
    OLD_NAME_W = 90,
    NAME_X = 61, NAME_Y = 74,
    GRID_X = 84, GRID_Y = 140, CELL = 12, CURSOR_MARGIN = 2
};

struct EntryColours {
    uint32_t box, highlight;
};

struct DirectionLatch {
    int *latch;
    int move;
};
const DirectionLatch direction_latches[] = {
    {&press_up, GRID_UP}, {&press_down, GRID_DOWN}, {&press_left, GRID_LEFT}, {&press_right, GRID_RIGHT},
};

// The grid cell a click lies on, as draw_grid lays the cells out, or -1.
int cell_at(int x, int y) {
    int left = GRID_X - CURSOR_MARGIN, top = GRID_Y - CURSOR_MARGIN;
    if (x < left || y < top)
        return -1;
    int column = (x - left) / CELL, row = (y - top) / CELL;
    return column < GRID_COLUMNS && row < GRID_ROWS ? GRID_COLUMNS * row + column : -1;
}

void entry_input(NameEntry *entry) {
    if (hold_start) {
        hold_start = 0;
        entry->accept = 1;
    }
    for (const DirectionLatch &d : direction_latches) {
        if (!*d.latch)
            continue;
        *d.latch = 0;
        entry->cursor = name_cursor_step(entry->cursor, d.move);
        play_sound(SOUND_CLICK3);
    }
    // A click on a cell moves the cursor there and picks it.
    int cell = take_click(cell_at);
    if (cell >= 0 && cell != entry->cursor) {
        entry->cursor = cell;
        play_sound(SOUND_CLICK3);
    }
    if (press_action || cell >= 0) {
        press_action = 0;
        play_sound(SOUND_CLICK1);
        name_entry_pick(entry);
    }
    // A character typed on a keyboard is entered as if picked, BackSpace
    // deletes.
    for (int c; (c = take_typed());) {
        play_sound(SOUND_CLICK1);
        name_entry_type(entry, (char)(c == PAD_TEXT_DELETE ? (int)GRID_DELETE : c));
    }
}

void fill(int x, int y, int w, int h, uint32_t colour) { plat_fill(screen, x, y, w, h, colour); }

void draw_headings(int player) {
    char line[24];
    draw_image(SCREEN_MIDDLE - image_width(assets.congrats) / 2, CONGRATS_Y, assets.congrats, screen);
    if (player_count == 2) {
        snprintf(line, sizeof line, "Player %i", player + 1);
        draw_text(-1, PLAYER_Y, screen, line);
    }
    draw_text(-1, TOP_TEN_Y, screen, "You are in the top ten!");
    snprintf(line, sizeof line, "%i", (int)players[player].score);
    draw_text(-1, SCORE_Y, screen, line);
    draw_text(-1, PROMPT_Y, screen, "Enter your name:");
}

// Each character in a cell of CELL pixels, its glyph CURSOR_MARGIN in from
// the cell's corner; the cursor fills its cell.
void draw_grid(int cursor, uint32_t highlight) {
    for (int i = 0; i < GRID_SIZE; i++)
        draw_glyph(GRID_X + CELL * (i % GRID_COLUMNS), GRID_Y + CELL * (i / GRID_COLUMNS), screen,
                   (unsigned char)name_grid[i]);
    int x = GRID_X + CELL * (cursor % GRID_COLUMNS), y = GRID_Y + CELL * (cursor / GRID_COLUMNS);
    fill(x - CURSOR_MARGIN, y - CURSOR_MARGIN, CELL, CELL, highlight);
    draw_glyph(x, y, screen, (unsigned char)name_grid[cursor]);
}

// Mapped to the display's format once, as the screen starts.
EntryColours colours;
// The entry on screen, kept here so that a lost display can still accept it.
NameEntry running;
int running_player = -1;  // -1 while no entry is running

void accept_entry(int player, const NameEntry *entry) {
    copy_name(players[player].name, entry->buffer);
    insert_high_score(player, entry->buffer, players[player].score);
    info_panel = 1;  // the next main menu opens on the table
}

}  // namespace

void draw_name_entry(const NameEntry *entry, int player) {
    draw_backdrop_tiles();
    set_font(assets.font1);
    draw_headings(player);
    fill(BOX_X, BOX_Y, BOX_W, BOX_H, colours.box);
    if (entry->untouched)  // marks the old name as about to be replaced
        fill(BOX_X, BOX_Y + 1, OLD_NAME_W, BOX_H - 2, colours.highlight);
    draw_text(-1, ACCEPT_Y, screen, "Press Start to accept");
    draw_text(NAME_X, NAME_Y, screen, entry->buffer);
    draw_grid(entry->cursor, colours.highlight);
}

int accept_running_entry(void) {
    if (running_player < 0)
        return 0;
    int player = running_player;
    running_player = -1;
    accept_entry(player, &running);
    return 1;
}

void run_name_entry(int player) {
    if (player != 0 && player != 1)
        return;
    colours = {plat_map_rgb(16, 0, 80), plat_map_rgb(176, 176, 0)};
    name_entry_begin(&running, players[player].name);
    running_player = player;
    reset_input();
    pad_type_characters(name_grid);
    while (!running.accept) {
        poll_input();
        // A closed window keeps the name as it stands, as a failed flip does;
        // the game flow still saves it before the program ends.
        if (exit_requested)
            break;
        entry_input(&running);
        plat_delay(MENU_FRAME_MS);
        draw_name_entry(&running, player);
        if (present_frame(REFUSAL_RETURNED) == -1) {
            exit_requested = 1;
            break;
        }
    }
    pad_type_characters(nullptr);
    accept_running_entry();
}
