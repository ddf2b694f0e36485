// Opening the editor: the X11 child window made, attached to the graphics context and painted
// whole once, as the first timer tick after opening does. The first run in the process meets
// empty font caches; later runs find them warm. Then, with the window open, a whole repaint and
// a timer tick as the running editor has them. Each at a scale of 1 and 2 (the argument is the
// scale in percent).
#include "gui/IGraphics.h"
#include "gui/x11/IEditorWindowX11.h"
#include "host/VirtualDisplay.h"
#include "instrument/CLS_SERIVANE.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <xcb/xcb.h>

namespace {

// Ticks are driven by hand, so the loop only accepts registrations.
class ManualLoop : public IRunLoopLink {
public:
    bool Watch(int, std::function<void()>) override { return true; }
    bool StartTimer(int, std::function<void()>) override { return true; }
    void StopAll() override {}
};

// A display, a host window to open in, and the instrument with its editor.
struct Rig {
    serivane::host::VirtualDisplay display;
    xcb_connection_t* connection = nullptr;
    std::uint32_t parent = 0;
    CLS_SERIVANE* plug = nullptr;

    Rig() {
        std::string error;
        if (!serivane::host::displayReachable() && !display.start(1280, 1024, error)) Fail(error);
        connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection)) Fail("cannot connect to the X server");
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        parent = xcb_generate_id(connection);
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, parent, screen->root, 0, 0, 1200, 950,
                          0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        xcb_map_window(connection, parent);
        xcb_flush(connection);
        plug = new CLS_SERIVANE();
    }
    ~Rig() {
        plug->release();
        xcb_disconnect(connection);
    }

    static void Fail(const std::string& why) {
        std::fprintf(stderr, "editor benchmark: %s\n", why.c_str());
        std::exit(1);
    }

    IGraphics& graphics() { return *dynamic_cast<IGraphics*>(plug->Editor()); }
};

Rig& TheRig() {
    static Rig rig;
    return rig;
}

void SetScale(Rig& rig, const benchmark::State& state) {
    rig.graphics().SetScale(static_cast<double>(state.range(0)) / 100.0);
}

// The editor's window, opened and painted once.
std::unique_ptr<IEditorWindowX11> OpenPainted(Rig& rig) {
    auto window =
        IEditorWindowX11::Open(rig.graphics(), rig.parent, std::make_unique<ManualLoop>());
    if (!window) Rig::Fail("the editor window did not open");
    window->Tick();
    return window;
}

void OpenAndPaint(benchmark::State& state) {
    Rig& rig = TheRig();
    SetScale(rig, state);
    for (auto _ : state) {
        auto window = OpenPainted(rig);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

void BM_OpenEditorColdCaches(benchmark::State& state) {
    OpenAndPaint(state);
}

void BM_OpenEditorWarmCaches(benchmark::State& state) {
    OpenAndPaint(state);
}

// The whole editor painted and shown, as after an expose or a new scale.
void BM_RepaintWhole(benchmark::State& state) {
    Rig& rig = TheRig();
    SetScale(rig, state);
    auto window = OpenPainted(rig);
    for (auto _ : state) {
        rig.graphics().RedrawAll();
        window->Tick();
    }
}

// One tick of the open editor with nothing changed but what it redraws on every tick.
void BM_TimerTick(benchmark::State& state) {
    Rig& rig = TheRig();
    SetScale(rig, state);
    auto window = OpenPainted(rig);
    for (auto _ : state) window->Tick();
}

// Registered in this order: the cold run is the process's first opening.
BENCHMARK(BM_OpenEditorColdCaches)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenEditorWarmCaches)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintWhole)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimerTick)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
