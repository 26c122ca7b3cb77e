// What a table frame costs: one draw_table of a full table with every number
// and the take-score button, against the floor of any frame (the background
// blit and the flip alone), headless on the dummy driver with the real art.
// Prints the ratio and exits with 1 when the full frame costs over 3.5
// floors.
#include <benchmark/benchmark.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>
#include <string>
#include "draw/sprites.h"
#include "draw/table_screen.h"
#include "platform/assets.h"
#include "rules/game_state.h"
#include "game/game_flow.h"
#include "platform/platform.h"
#include "platform/seam.h"
#include "rules/deck.h"
#include "screens/animate.h"
#include "rules/table_state.h"

static const double BUDGET = 3.5;

// Every cell full, a card chosen, the button armed, both scores six wide.
static void lay_out_full_table(void) {
    srand(5);
    int deck[52];
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
}

// Out of line so that callgrind can count each alone; see main.
__attribute__((noinline)) void full_frame(void) { draw_table(OVERLAY_NONE); }

__attribute__((noinline)) void floor_frame(void) {
    draw_image(0, 0, assets.background, screen);
    if (plat_flip() == -1)
        fatal_error("Error in SDL_Flip");
}

static void BM_FullTableFrame(benchmark::State &state) {
    lay_out_full_table();
    for (auto _ : state)
        full_frame();
}
BENCHMARK(BM_FullTableFrame);

static void BM_FloorFrame(benchmark::State &state) {
    for (auto _ : state)
        floor_frame();
}
BENCHMARK(BM_FloorFrame);


// Keeps the console output and remembers the CPU times for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    double full = 0, floor = 0;
    void ReportRuns(const std::vector<Run> &runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            // With repetitions, the median stands for the run.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")
                continue;
            std::string name = run.run_name.function_name;
            double t = run.GetAdjustedCPUTime();
            if (name == "BM_FullTableFrame")
                full = t;
            else if (name == "BM_FloorFrame")
                floor = t;
        }
    }
};

int main(int argc, char **argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (chdir(OG_SOURCE_DIR) != 0)
        return 1;
    init_platform();
    load_assets();
    set_font(assets.font1);
    // SDL encodes a colour-keyed surface on its first blit; keep that out of
    // every measurement.
    lay_out_full_table();
    full_frame();
    // Instruction counts: OG_FRAME_COUNT=100 valgrind --tool=callgrind
    // --toggle-collect='full_frame()' (or 'floor_frame()') bench/bench_frame
    // draws that many frames of each and skips the timed runs.
    if (const char *count = getenv("OG_FRAME_COUNT")) {
        for (int i = atoi(count); i > 0; i--) {
            full_frame();
            floor_frame();
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (reporter.full <= 0 || reporter.floor <= 0)
        return 0;
    double ratio = reporter.full / reporter.floor;
    printf("full table frame / floor frame = %.2f (budget %.1f)\n", ratio, BUDGET);
    return ratio > BUDGET ? 1 : 0;
}
