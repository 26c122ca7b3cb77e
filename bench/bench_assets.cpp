// How long start-up spends on the asset catalogue: loading, converting and
// keying all 47 files, and freeing them again, on the headless drivers.
#include <stdlib.h>
#include <unistd.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include "platform/assets.h"
#include "platform/platform.h"

static void bring_up_once(void) {
    static int up = 0;
    if (up)
        return;
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (chdir(OG_SOURCE_DIR) != 0)
        abort();
    init_platform();
    up = 1;
}

static void BM_LoadAndFreeAllAssets(benchmark::State &state) {
    bring_up_once();
    for (auto _ : state) {
        load_assets();
        free_assets();
    }
    state.SetItemsProcessed(state.iterations() * ASSET_COUNT);
}
BENCHMARK(BM_LoadAndFreeAllAssets)->Unit(benchmark::kMillisecond);

// One image alone: the largest, a full-screen background.
static void BM_LoadFullScreenImage(benchmark::State &state) {
    bring_up_once();
    for (auto _ : state)
        SDL_FreeSurface(load_image("data/background.png"));
}
BENCHMARK(BM_LoadFullScreenImage)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
