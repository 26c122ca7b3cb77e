// The asset record: every image and sound of the game, loaded once at
// start-up in catalogue order and freed once at shutdown. Screens read the
// image handles; sounds are played by their id through play_sound.
#pragma once
#include <stddef.h>
#include "platform/video.h"

struct Mix_Chunk;

// The sound effects, in catalogue order.
enum Sound { SOUND_CHIME1, SOUND_CLICK1, SOUND_CLICK2, SOUND_CLICK3, SOUND_NONO, SOUND_GOOD, SOUND_COUNT };

// Each image handle is named after its file in data/.
struct Assets {
    Image *tile_normal, *tile_highlighted, *numbers, *tablecleared;
    Image *gorvel1, *gorvel2, *gorvel3, *gorvel4, *gorvel_popup;
    Image *font1, *font1_hilite, *font2, *font2_hilite, *font3;
    Image *selector, *background, *ready, *timesup, *congrats, *gameover;
    Image *player1, *player2, *winner, *topgorvels;
    Image *oneplayerscore_header, *twoplayerscore_header;
    Image *button_newgame, *button_resume, *button_quit;
    Image *button_highscores, *button_instructions, *button_menu;
    Image *button_takescore, *button_player1, *button_player2, *button_ok;
    Image *timer_image, *title, *background_tile, *instructions;
    Image *button_takescore_sure;
    Mix_Chunk *sounds[SOUND_COUNT];
};
extern Assets assets;

// One file for each handle of the record; assets.cpp checks the catalogue
// against these at compile time.
enum {
    ASSET_IMAGE_COUNT = offsetof(Assets, sounds) / sizeof(Image *),
    ASSET_SOUND_COUNT = SOUND_COUNT,
    ASSET_COUNT = ASSET_IMAGE_COUNT + ASSET_SOUND_COUNT
};

// One row of the catalogue: the file, the handle it fills and how it is
// prepared. The loader walks it; the tests and the art generator read it.
struct Asset {
    const char *path;
    Image **image;      // an image's handle, null for a sound
    Mix_Chunk **sound;  // a sound's handle, null for an image
    int cells;          // an image of this many cells side by side, cut at load; 0 for none
    int cell_width;     // their width in pixels, or 0 for the image's width shared out evenly
};
extern const Asset asset_catalogue[ASSET_COUNT];
// The width of one cell of a sheet of the catalogue, the image `width` wide.
int asset_cell_width(const Asset *asset, int width);

// Loads all 47 files in catalogue order; returns 1, or never returns
// (fatal_error names the image that failed). Called once by the entry routine.
int load_assets(void);
// Frees every handle in catalogue order; handles keep their stale values.
void free_assets(void);
// PNG -> display-format surface keyed on cyan with RLE; fatal on failure.
Image *load_image(const char *path);
