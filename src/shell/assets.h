// The asset record: every image and sound of the game, loaded once at
// start-up in catalogue order and freed once at shutdown.
#pragma once
#include <SDL.h>
#include <SDL_mixer.h>

struct Assets {
    SDL_Surface *tile_normal, *tile_highlighted, *numbers, *tablecleared;
    SDL_Surface *gorvel[4];  // stock pictures: 0 stock, 1 and 2 turning, 3 empty
    SDL_Surface *gorvel_popup;
    SDL_Surface *font1, *font1_hilite, *font2, *font2_hilite, *font3;
    SDL_Surface *selector, *background, *ready, *timesup, *congrats, *gameover;
    SDL_Surface *player1, *player2, *winner, *topgorvels;
    SDL_Surface *oneplayerscore_header, *twoplayerscore_header;
    SDL_Surface *button_newgame, *button_resume, *button_quit;
    SDL_Surface *button_highscores, *button_instructions, *button_menu;
    SDL_Surface *button_takescore, *button_player1, *button_player2, *button_ok;
    SDL_Surface *timer_image, *title, *background_tile, *instructions;
    SDL_Surface *button_takescore_sure;
    Mix_Chunk *chime1, *click1, *click2, *click3, *nono, *good;
};
extern Assets assets;

enum { ASSET_IMAGE_COUNT = 41, ASSET_SOUND_COUNT = 6, ASSET_COUNT = 47 };

// The catalogue's file names in load order (images, then sounds).
extern const char *const asset_paths[ASSET_COUNT];

// Loads all 47 files; returns 1, or never returns (fatal_error).
int load_assets(void);
// Frees every handle in catalogue order; handles keep their stale values.
void free_assets(void);
// PNG -> display-format surface keyed on cyan with RLE; fatal on failure.
SDL_Surface *load_image(const char *path);
// WAV -> mixer chunk; fatal on failure.
Mix_Chunk *load_sound(const char *path);
