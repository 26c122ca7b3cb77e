// What a frame costs, headless on the dummy driver with the real art: a full
// table with every number and the take-score button, the main menu with its
// score list, name entry, and the floor of any frame (the background blit
// and the flip alone). Times depend on the processor; bench/frame-budget.sh
// counts instructions instead, with callgrind and OG_FRAME_COUNT.
#include <benchmark/benchmark.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#include "draw/backdrop.h"
#include "draw/overlay.h"
#include "draw/sprites.h"
#include "draw/table_screen.h"
#include "platform/assets.h"
#include "platform/platform.h"
#include "rules/deck.h"
#include "rules/game_state.h"
#include "rules/high_scores.h"
#include "rules/name_grid.h"
#include "rules/table_state.h"
#include "screens/main_menu.h"
#include "screens/name_entry.h"

namespace {

NameEntry entry;

// Every cell full, a card chosen, the button armed, both scores six wide, a
// full list of high scores, a name half typed.
void lay_out(void) {
    srand(5);
    int deck[DECK_CARDS];
    shuffle_deck(deck);
    for (int i = 0; i < SLOT_CELLS; i++)
        table.table_slots[i] = deck[i];
    table.cursor_slot = 30;
    table.selected_first = 29;
    table.selected_second = NO_SLOT;
    table.time_left = 1250;
    table.pair_bonus = 500;
    table.stock_count = 18;
    table.equal_pairs = 12;
    table.adjacent_pairs = 34;
    table.takescore_armed = 1;
    player_count = 2;
    players[0].score = 123456;
    players[1].score = 654321;
    table_number = 3;
    for (int i = 0; i < HIGH_SCORE_ROWS; i++) {
        snprintf(high_scores[i].name, NAME_FIELD, "Player %c%c%c", 'A' + i, 'a' + i, 'a' + i);
        high_scores[i].score = 90000 - 7000 * i;
    }
    info_panel = 1;
    name_entry_begin(&entry, "Marta");
    entry.cursor = 40;
}

}  // namespace

// Out of line so that callgrind can count each alone.
__attribute__((noinline)) void full_frame(void) { draw_table(OVERLAY_NONE); }
__attribute__((noinline)) void menu_frame(void) {
    draw_main_menu(3);
    present_frame(REFUSAL_FATAL);
}
__attribute__((noinline)) void entry_frame(void) {
    draw_name_entry(&entry, 0);
    present_frame(REFUSAL_FATAL);
}
__attribute__((noinline)) void floor_frame(void) {
    draw_image(0, 0, assets.background, screen);
    plat_flip();
}

static void BM_FullTableFrame(benchmark::State &state) {
    for (auto _ : state)
        full_frame();
}
BENCHMARK(BM_FullTableFrame);

static void BM_MenuWithScoreListFrame(benchmark::State &state) {
    for (auto _ : state)
        menu_frame();
}
BENCHMARK(BM_MenuWithScoreListFrame);

static void BM_NameEntryFrame(benchmark::State &state) {
    for (auto _ : state)
        entry_frame();
}
BENCHMARK(BM_NameEntryFrame);

static void BM_FloorFrame(benchmark::State &state) {
    for (auto _ : state)
        floor_frame();
}
BENCHMARK(BM_FloorFrame);

int main(int argc, char **argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (chdir(OG_SOURCE_DIR) != 0)
        return 1;
    init_platform();
    load_assets();
    set_font(assets.font1);
    lay_out();
    // SDL encodes a colour-keyed surface on its first blit; keep that out of
    // every measurement, the counted functions included.
    draw_table(OVERLAY_NONE);
    draw_main_menu(3);
    draw_name_entry(&entry, 0);
    if (const char *count = getenv("OG_FRAME_COUNT")) {
        for (int i = atoi(count); i > 0; i--) {
            full_frame();
            menu_frame();
            entry_frame();
            floor_frame();
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
