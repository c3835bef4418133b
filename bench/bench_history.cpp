// Undo and redo on a heavy skin (HeavySkin.h), loaded into the whole program
// on the offscreen platform with its mask shaping the window.
//
// UndoRedo: one step, a drag of a button or a colour choice, taken back and
// done again. The benchmark's time is undo plus redo; undo_us and redo_us
// are each on its own, and events_us is what the event loop does after each
// of them (repainting the preview), which the user waits for too but which
// is not the history's work.
//
// HistoryMemory: what 1,000 steps cost beyond the loaded skin: heap_MB and
// rss_MB, the heap in use (mallinfo2) and the resident set grown by making
// them; history_MB, the heap the history gives back when it is cleared. Steps are drags of one
// component after another and colour choices on the appearance sheets, with
// no merging; for contrast, 1,000 keystrokes typed into the place editor,
// which merge into one step as a user's typing does.

#include "HeavySkin.h"
#include "app/Application.h"
#include "app/SkinBuilder.h"
#include "editor/Catalogue.h"
#include "editor/SettingsWindow.h"
#include "editor/Steps.h"
#include "pictures/TransparentForm.h"
#include "preview/PreviewWindow.h"
#include "widgets/ColourPicker.h"
#include "widgets/SpinEdit.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

using namespace fabulor;
using fabulor::bench::TheHeavySkin;

namespace {

using Clock = std::chrono::steady_clock;

// Colours the pickers list; others would be chosen through a dialog.
constexpr std::array<Colour, 4> ListedColours{0x000000FFu, 0x00FF0000u, 0x00008000u, 0x00800000u};
constexpr int StepsMeasured = 1000;
constexpr double Megabyte = 1e6;

void Settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

double Seconds(Clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

// Made by main, so that it goes before the application object does.
SkinBuilder* TheProgram = nullptr;

SkinBuilder& Program()
{
    return *TheProgram;
}

// Loads the heavy skin as opening a skin file does, with a new history.
// False when the mask does not shape the window.
bool LoadHeavySkin()
{
    SkinBuilder& program = Program();
    TFBox& box = program.settings();
    *program.document() = TheHeavySkin().document;
    box.LoadStateFromDocument();
    box.history().stack().clear();
    Settle();
    return program.preview().Mask->active();
}

// A drag of component by offset, as the preview's press, moves and release
// make it: the press selects the component and begins the step.
void Drag(int component, QPoint offset)
{
    SkinBuilder& program = Program();
    TFBox& box = program.settings();
    QWidget* control = Catalogue()[std::size_t(component)].moved(program.preview());
    box.SelectComponent(component);
    box.history().begin(QStringLiteral("przesunięcie %1").arg(SectionName(component)),
                        StepParts::geometry(component, false));
    control->move(control->pos() + offset);
    box.history().end();
}

// Chooses the next listed colour that differs from picker's; one step.
void ChooseColour(ColourPicker* picker, std::size_t& next)
{
    for (std::size_t tries = 0; tries < ListedColours.size(); ++tries) {
        const Colour colour = ListedColours[next++ % ListedColours.size()];
        if (colour != picker->value()) {
            picker->setValue(colour);
            return;
        }
    }
}

std::vector<int> DraggableComponents()
{
    std::vector<int> components;
    for (int component = 0; component < CatalogueSize; ++component)
        if (Catalogue()[std::size_t(component)].moved(Program().preview())) components.push_back(component);
    return components;
}

enum class StepKind { DragOfAButton, ColourChoice };

void BM_UndoRedo(benchmark::State& state, StepKind kind)
{
    if (!LoadHeavySkin()) {
        state.SkipWithError("the heavy skin's mask does not shape the window");
        return;
    }
    TFBox& box = Program().settings();
    QUndoStack& history = box.history().stack();
    constexpr int PClose = FirstButtonIndex;
    QWidget* moved = Catalogue()[std::size_t(PClose)].moved(Program().preview());
    const QPoint placeBefore = moved->pos();
    const Colour colourBefore = box.O_color->value();
    if (kind == StepKind::DragOfAButton) {
        Drag(PClose, {-40, 30});
    } else {
        std::size_t next = 0;
        ChooseColour(box.O_color, next);
    }
    Settle();
    const QPoint placeAfter = moved->pos();
    const Colour colourAfter = box.O_color->value();
    if (history.count() != 1) {
        state.SkipWithError("the change made no single step");
        return;
    }
    history.undo();
    const bool undone = moved->pos() == placeBefore && box.O_color->value() == colourBefore;
    history.redo();
    const bool redone = moved->pos() == placeAfter && box.O_color->value() == colourAfter;
    if (!undone || !redone) {
        state.SkipWithError("undo or redo did not give back the skin");
        return;
    }
    Settle();

    Clock::duration undo{}, redo{}, events{};
    for (auto _ : state) {
        const auto start = Clock::now();
        history.undo();
        const auto undoneAt = Clock::now();
        Settle();
        const auto settledAt = Clock::now();
        history.redo();
        const auto redoneAt = Clock::now();
        Settle();
        const auto end = Clock::now();
        undo += undoneAt - start;
        redo += redoneAt - settledAt;
        events += (settledAt - undoneAt) + (end - redoneAt);
        state.SetIterationTime(Seconds((undoneAt - start) + (redoneAt - settledAt)));
    }
    using benchmark::Counter;
    state.counters["undo_us"] = Counter(Seconds(undo) * 1e6, Counter::kAvgIterations);
    state.counters["redo_us"] = Counter(Seconds(redo) * 1e6, Counter::kAvgIterations);
    state.counters["events_us"] = Counter(Seconds(events) * 1e6 / 2, Counter::kAvgIterations);
}
BENCHMARK_CAPTURE(BM_UndoRedo, drag_of_PClose, StepKind::DragOfAButton)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_UndoRedo, colour_of_OP1, StepKind::ColourChoice)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

struct Footprint {
    double heap;
    double resident;
};

// The heap in use counts blocks malloc maps on their own (hblkhd) too: big
// ones, pictures say, are not in uordblks.
Footprint Measure()
{
    // The same component is chosen at each measurement: choosing one shows
    // its pictures, which are not the history's.
    Program().settings().SelectComponent(FirstButtonIndex);
    Settle();
    // Freed pages go back first, so the resident set counts what is in use.
    malloc_trim(0);
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    const struct mallinfo2 heap = mallinfo2();
    return {double(heap.uordblks + heap.hblkhd), double(resident) * double(sysconf(_SC_PAGESIZE))};
}

enum class Edits { DragsAndColours, Typing };

void MakeSteps(Edits edits)
{
    TFBox& box = Program().settings();
    if (edits == Edits::Typing) {
        // Keys into the place editor: a digit, a backspace, a digit...
        box.SelectComponent(FirstButtonIndex);
        box.Button4Click();
        QLineEdit* line = box.Left->lineEdit();
        line->end(false);
        for (int key = 0; key < StepsMeasured; ++key) {
            if (key % 2 == 0)
                line->backspace();
            else
                line->insert(QString::number(key / 2 % 10));
            Settle();
        }
        return;
    }
    const std::vector<int> draggable = DraggableComponents();
    const std::array<ColourPicker*, 6> pickers{box.O_color,     box.P_color,     box.R_color,
                                               box.O_fontcolor, box.D_fontcolor, box.K_fontcolor};
    std::size_t nextColour = 0;
    for (int step = 0; step < StepsMeasured; ++step) {
        const int round = step / 2;
        if (step % 2 == 0) {
            // Each component goes one way on one round and back on the next.
            const std::size_t which = std::size_t(round) % draggable.size();
            const int sign = (round / int(draggable.size())) % 2 == 0 ? 1 : -1;
            Drag(draggable[which], QPoint(7, -5) * sign);
        } else {
            ChooseColour(pickers[std::size_t(round) % pickers.size()], nextColour);
        }
        Settle();
    }
}

void BM_HistoryMemory(benchmark::State& state, Edits edits)
{
    TFBox& box = Program().settings();
    QUndoStack& history = box.history().stack();
    double heap = 0, resident = 0, held = 0;
    int steps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!LoadHeavySkin()) {
            state.SkipWithError("the heavy skin's mask does not shape the window");
            return;
        }
        if (edits == Edits::Typing)
            box.history().setMergePause(std::chrono::milliseconds(1500));
        else
            box.history().setMergePause(std::chrono::milliseconds(-1));
        const Footprint before = Measure();
        state.ResumeTiming();

        MakeSteps(edits);

        state.PauseTiming();
        const Footprint after = Measure();
        steps = history.count();
        history.clear();
        const Footprint cleared = Measure();
        heap = (after.heap - before.heap) / Megabyte;
        resident = (after.resident - before.resident) / Megabyte;
        held = (after.heap - cleared.heap) / Megabyte;
        state.ResumeTiming();
    }
    if (edits == Edits::DragsAndColours && steps != StepsMeasured) {
        state.SkipWithError("the edits did not make one step each");
        return;
    }
    state.counters["steps"] = steps;
    state.counters["heap_MB"] = heap;
    state.counters["rss_MB"] = resident;
    state.counters["history_MB"] = held;
}
BENCHMARK_CAPTURE(BM_HistoryMemory, drags_and_colours, Edits::DragsAndColours)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HistoryMemory, typing_merged, Edits::Typing)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    std::printf("heavy skin: 15 pictures of %zu hex characters, mask on\n",
                TheHeavySkin().pictureHex[0].size());
    SkinBuilder program(app);
    program.show();
    TheProgram = &program;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
