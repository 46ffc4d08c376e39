// Redraw cost of the monitor's 385 x 25 bar in every style, and heap allocations per
// redraw (the raster reuses its pen and brush slots, so there should be none).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "progressbar/offscreen_host.h"
#include "progressbar/xp_progressbar.h"

namespace {

std::atomic<long> allocations{0};

}  // namespace

// Out of line, so the compiler does not pair the inlined malloc and free with new and delete.
[[gnu::noinline]] void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace tv {
namespace {

void drawStyle(benchmark::State& state, int style, bool text) {
    SysColorTable colours = SysColorTable::luna();
    BlockTextEngine glyphs;
    Gdi gdi(colours, glyphs);
    OffscreenHost host(gdi, 385, 25);
    XP_ProgressBar bar(host, gdi);
    bar.setImage(std::make_shared<StdPicture>(gdi, Bitmap(8, 8, 0x2BD228)));
    bar.setColor(0x2BD228);
    bar.setScrolling(style);
    bar.setShowText(text);
    bar.setValue(50);
    bar.DrawProgressBar();
    long before = allocations.load();
    for (auto _ : state) {
        bar.DrawProgressBar();
        benchmark::ClobberMemory();
    }
    state.counters["allocs/redraw"] = benchmark::Counter(
        static_cast<double>(allocations.load() - before) / static_cast<double>(state.iterations()));
}

void BM_DrawProgressBar(benchmark::State& state) {
    drawStyle(state, static_cast<int>(state.range(0)), false);
}
BENCHMARK(BM_DrawProgressBar)->DenseRange(0, 9)->Unit(benchmark::kMicrosecond);

void BM_DrawProgressBarWithText(benchmark::State& state) {
    drawStyle(state, static_cast<int>(state.range(0)), true);
}
BENCHMARK(BM_DrawProgressBarWithText)->Arg(0)->Arg(6)->Arg(9)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tv

BENCHMARK_MAIN();
