#include "raster/Blit.h"
#include "raster/Font.h"
#include "raster/Shapes.h"

#include <benchmark/benchmark.h>

using namespace raster;

namespace {

constexpr int kWidth = 600, kHeight = 475;

// An editor's background drawn over the whole off-screen raster, as a full repaint begins.
void FullWindowBlit(benchmark::State& state) {
    const auto mode = static_cast<BlendMode>(state.range(0));
    Raster background(kWidth, kHeight), window(kWidth, kHeight);
    background.Clear(PackArgb(255, 20, 30, 60));
    for (auto _ : state) {
        Blit(window, 0, 0, background, 0, 0, kWidth, kHeight, {mode, 1.0f});
        benchmark::DoNotOptimize(window.Pixels());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(FullWindowBlit)
    ->Arg(static_cast<int>(BlendMode::Copy))
    ->Arg(static_cast<int>(BlendMode::AlphaCopy));

// The status line: one line of centred, partly transparent text.
void StatusText(benchmark::State& state) {
    const auto font = Font::Create({"Arial", 14});
    Raster window(kWidth, kHeight);
    for (auto _ : state) {
        font->Draw(window, "Binaural: 7.83Hz", {180, 440, 420, 456}, PackArgb(160, 255, 255, 255),
                   {TextAlign::Centre, false, true});
    }
}
BENCHMARK(StatusText);

// A knob's rotating cap.
void RotatedKnob(benchmark::State& state) {
    Raster cap(48, 48), window(kWidth, kHeight);
    FillCircle(cap, 24, 24, 20, PackArgb(255, 200, 200, 210));
    double angle = 0.0;
    for (auto _ : state) {
        BlitRotated(window, {100, 100, 48, 48}, cap, {-0.3, -0.3, 48, 48}, angle);
        angle += 0.01;
    }
}
BENCHMARK(RotatedKnob);

} // namespace
