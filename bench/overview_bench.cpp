// The resident overview on a table of 20,000 residents: opening the page (reading every resident and showing
// the table), filtering per keystroke, the export, and the import with its preview. Run with an offscreen
// platform: QT_QPA_PLATFORM=offscreen bench/bench_overview

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTableView>

#include "app/resident_table.h"
#include "bench_residents.h"
#include "forms/overview_page.h"
#include "overview/overview_page.h"
#include "overview/resident_export.h"
#include "overview/resident_import.h"
#include "ui/overview_page_view.h"

namespace pnl {
namespace {

constexpr int kResidents = 20000;

// A fresh installation whose working copy holds 20,000 residents with distinct serial numbers.
struct Residents {
    Residents() {
        bench::fillResidents(inst,
                             "PNL00=PNL-B,Haupteingang,012345,,FALSE\nPNL01=PNL-A,Nebeneingang,023456,,TRUE\n"
                             "PNL02=PNL-K,Tiefgarage,034567,,FALSE\n",
                             kResidents, 3);
        inst.program->userLevel = 6;
    }
    Program& program() { return *inst.program; }

    test::Installation inst;
};

// The page opened and shown, as the menu command does.
struct ShownOverview {
    explicit ShownOverview(Program& program) : page(program, form), view(form, page) {
        view.resize(1000, 700);
        page.Open();
        view.show();
        QApplication::processEvents();
    }

    OverviewPageForm form;
    OverviewPage page;
    ui::OverviewPageView view;
};

void OpenOverviewWindow(benchmark::State& state) {
    Residents residents;
    for (auto _ : state) {
        ShownOverview shown(residents.program());
        benchmark::DoNotOptimize(shown.view.table()->model()->rowCount());
    }
}
BENCHMARK(OpenOverviewWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

void FilterPerKeystroke(benchmark::State& state) {
    Residents residents;
    ShownOverview shown(residents.program());
    ui::OverviewPageView& view = shown.view;
    const QString typed = "müller-bewohner 0123";
    int at = 0;
    for (auto _ : state) {
        // One more character as typed, or, once the text is complete, the field emptied.
        if (at == typed.size()) {
            view.searchField()->selectAll();
            view.searchField()->backspace();
            at = 0;
        } else {
            view.searchField()->insert(typed.mid(at++, 1));
        }
        QApplication::processEvents();
        benchmark::DoNotOptimize(view.filter()->rowCount());
    }
    if (shown.form.search.text().empty() && at > 0)
        state.SkipWithError("the search field does not reach the filter");
}
BENCHMARK(FilterPerKeystroke)->Unit(benchmark::kMillisecond)->Iterations(42);

void Export(benchmark::State& state) {
    Residents residents;
    for (auto _ : state) {
        int count = 0;
        ExportResidents(residents.program(), residents.inst.path("bewohner.csv"), &count, nullptr);
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(Export)->Unit(benchmark::kMillisecond)->Iterations(5);

// Times the preview and the import of the exported file after `prepare` changed the file or the table; every
// row must come out as `expected`.
template <typename Prepare>
void timeImport(benchmark::State& state, Prepare prepare, ImportStatus expected) {
    for (auto _ : state) {
        state.PauseTiming();
        Residents residents;
        const std::string path = residents.inst.path("bewohner.csv");
        ExportResidents(residents.program(), path, nullptr, nullptr);
        prepare(residents, path);
        state.ResumeTiming();
        const ImportPreview preview = PreviewImportFile(residents.program(), path);
        if (preview.count(expected) != kResidents) {
            state.SkipWithError(previewSummary(preview, false).c_str());
            break;
        }
        ApplyImport(residents.program(), preview, false, nullptr);
    }
}

// The worst case for a table that exists: every row of the file gives its resident a new first name.
void ImportWithPreviewAllChanged(benchmark::State& state) {
    timeImport(
        state,
        [](Residents& residents, const std::string& path) {
            std::string text = *residents.program().fs.readFile(path);
            const std::string from = ";Françoise;", to = ";Anne-Marie;";
            for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
                text.replace(at, from.size(), to);
            residents.program().fs.writeFileAtomic(path, text);
        },
        ImportStatus::Changed);
}
BENCHMARK(ImportWithPreviewAllChanged)->Unit(benchmark::kMillisecond)->Iterations(3);

// 20,000 new residents into an empty table.
void ImportWithPreviewAllNew(benchmark::State& state) {
    timeImport(
        state,
        [](Residents& residents, const std::string&) {
            residents.program().database()->exec("DELETE FROM BEWOHNER");
        },
        ImportStatus::New);
}
BENCHMARK(ImportWithPreviewAllNew)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace pnl

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
