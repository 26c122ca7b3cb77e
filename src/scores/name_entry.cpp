// Name entry: the player walks a grid of characters with the pad, picks with
// a face button and accepts with START or "}".
#include "scores/name_entry.h"
#include <stdio.h>
#include <string.h>
#include "draw/overlay.h"
#include "draw/sprites.h"
#include "input/input.h"
#include "input/sound.h"
#include "menus/backdrop.h"
#include "menus/main_menu.h"
#include "scores/high_scores.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/platform.h"

const char name_grid[79] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz1234567890.?!@#$%&*()/- {}";

enum { DELETE_CHAR = '{', ACCEPT_CHAR = '}' };

// Steps that wrap round the grid: a row up is the same as five rows down.
static const int grid_steps[] = {GRID_SIZE - GRID_COLUMNS, GRID_COLUMNS, GRID_SIZE - 1, 1};

void name_entry_begin(NameEntry *entry, const char *old_name) {
    memset(entry->buffer, 0, sizeof entry->buffer);
    copy_name(entry->buffer, old_name);
    entry->untouched = 1;
    entry->length = 0;
    entry->cursor = 0;
    entry->accept = 0;
}

int name_cursor_step(int cursor, int move) { return (cursor + grid_steps[move]) % GRID_SIZE; }

// The old name goes as a whole on the first edit, never letter by letter.
static void clear_if_untouched(NameEntry *entry) {
    if (!entry->untouched)
        return;
    memset(entry->buffer, 0, sizeof entry->buffer);
    entry->untouched = 0;
}

void name_entry_pick(NameEntry *entry) {
    char c = name_grid[entry->cursor];
    if (c == ACCEPT_CHAR) {
        entry->accept = 1;
    } else if (c == DELETE_CHAR) {
        clear_if_untouched(entry);
        if (entry->length > 0)
            entry->buffer[--entry->length] = '\0';
    } else if (entry->length < NAME_TYPED_MAX) {
        clear_if_untouched(entry);
        entry->buffer[entry->length++] = c;
    }
}

// ---- the screen --------------------------------------------------------------

enum {
    FRAME_MS = 50,
    SCREEN_MIDDLE = 160,
    BOX_X = 60, BOX_Y = 72, BOX_W = 200, BOX_H = 15,
    OLD_NAME_W = 90,
    NAME_X = 61, NAME_Y = 74,
    GRID_X = 84, GRID_Y = 140, CELL = 12, CURSOR_MARGIN = 2
};

struct EntryColours {
    Uint32 box, highlight;
};

struct DirectionLatch {
    int *latch;
    int move;
};
static const DirectionLatch direction_latches[] = {
    {&press_up, GRID_UP}, {&press_down, GRID_DOWN}, {&press_left, GRID_LEFT}, {&press_right, GRID_RIGHT},
};

static void entry_input(NameEntry *entry) {
    if (hold_start) {
        hold_start = 0;
        entry->accept = 1;
    }
    for (const DirectionLatch &d : direction_latches) {
        if (!*d.latch)
            continue;
        *d.latch = 0;
        entry->cursor = name_cursor_step(entry->cursor, d.move);
        play_sound(assets.click3);
    }
    if (press_action) {
        press_action = 0;
        play_sound(assets.click1);
        name_entry_pick(entry);
    }
}

static void fill(int x, int y, int w, int h, Uint32 colour) {
    SDL_Rect r = {(Sint16)x, (Sint16)y, (Uint16)w, (Uint16)h};
    SDL_FillRect(screen, &r, colour);
}

static void draw_headings(int player) {
    char line[24];
    draw_image(SCREEN_MIDDLE - assets.congrats->w / 2, 5, assets.congrats, screen);
    if (player_count == 2) {
        snprintf(line, sizeof line, "Player %i", player + 1);
        draw_text(-1, 30, screen, line);
    }
    draw_text(-1, 40, screen, "You are in the top ten!");
    snprintf(line, sizeof line, "%i", (int)players[player].score);
    draw_text(-1, 50, screen, line);
    draw_text(-1, 60, screen, "Enter your name:");
}

static void draw_grid(int cursor, Uint32 highlight) {
    for (int i = 0; i < GRID_SIZE; i++)
        draw_glyph(GRID_X + CELL * (i % GRID_COLUMNS), GRID_Y + CELL * (i / GRID_COLUMNS), screen,
                   (unsigned char)name_grid[i]);
    int x = GRID_X + CELL * (cursor % GRID_COLUMNS), y = GRID_Y + CELL * (cursor / GRID_COLUMNS);
    fill(x - CURSOR_MARGIN, y - CURSOR_MARGIN, CELL, CELL, highlight);
    draw_glyph(x, y, screen, (unsigned char)name_grid[cursor]);
}

static void draw_entry_frame(const NameEntry *entry, int player, const EntryColours *colours) {
    draw_backdrop_tiles();
    set_font(assets.font1);
    draw_headings(player);
    fill(BOX_X, BOX_Y, BOX_W, BOX_H, colours->box);
    if (entry->untouched)  // marks the old name as about to be replaced
        fill(BOX_X, BOX_Y + 1, OLD_NAME_W, BOX_H - 2, colours->highlight);
    draw_text(-1, 225, screen, "Press Start to accept");
    draw_text(NAME_X, NAME_Y, screen, entry->buffer);
    draw_grid(entry->cursor, colours->highlight);
    draw_volume_overlay(screen, assets.font3);
}

static void accept_entry(int player, const NameEntry *entry) {
    copy_name(players[player].name, entry->buffer);
    insert_high_score(player, entry->buffer, players[player].score);
    info_panel = 1;  // the next main menu opens on the table
}

void run_name_entry(int player) {
    if (player != 0 && player != 1)
        return;
    EntryColours colours = {SDL_MapRGB(screen->format, 16, 0, 80), SDL_MapRGB(screen->format, 176, 176, 0)};
    NameEntry entry;
    name_entry_begin(&entry, players[player].name);
    reset_input();
    while (!entry.accept) {
        poll_input();
        // A closed window keeps the name as it stands, as a failed flip does;
        // the game flow still saves it before the program ends.
        if (exit_requested)
            break;
        entry_input(&entry);
        plat_delay(FRAME_MS);
        draw_entry_frame(&entry, player, &colours);
        if (plat_flip() == -1) {
            exit_requested = 1;
            break;
        }
    }
    accept_entry(player, &entry);
}
