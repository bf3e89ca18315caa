// Reading a day's log of 20,000 lines as pnl-log does: under its own name, and under another day's name,
// where no line opens at its place and every line is searched for.

#include <benchmark/benchmark.h>

#include "app/event_log.h"
#include "app/log_reader.h"
#include "support/installation.h"

namespace pnl {
namespace {

constexpr int kLines = 20000;

// The log of one busy day, written by the program itself.
const std::string& dayLog() {
    static const std::string content = [] {
        test::Installation inst;
        for (int i = 0; i < kLines; ++i)
            EventLog(*inst.program, "Bewohnerdatensatz: A" + std::to_string(i) + " wurde geaendert.");
        return inst.readFile("log/06122026.log");
    }();
    return content;
}

void ReadLogUnderItsOwnDate(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(readLog(dayLog(), "06122026"));
}
BENCHMARK(ReadLogUnderItsOwnDate)->Unit(benchmark::kMillisecond)->Iterations(3);

void ReadLogUnderAnotherDate(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(readLog(dayLog(), "07122026"));
}
BENCHMARK(ReadLogUnderAnotherDate)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace pnl

BENCHMARK_MAIN();
