// The resident editor on a table of 20,000 residents: every operation the user waits for should stay well
// below 100 ms.

#include <benchmark/benchmark.h>

#include "app/resident_table.h"
#include "bench_residents.h"
#include "forms/resident_page.h"
#include "residents/resident_editor.h"

namespace pnl {
namespace {

constexpr int kResidents = 20000;

class ResidentPage : public benchmark::Fixture {
  public:
    void SetUp(benchmark::State&) override {
        inst = std::make_unique<test::Installation>();
        form = std::make_unique<ResidentPageForm>();
        bench::fillResidents(
            *inst, "PNL00=PNL-B,Haupteingang,012345,,FALSE\nPNL01=PNL-A,Nebeneingang,023456,,TRUE\n",
            kResidents, 2);
        editor = std::make_unique<ResidentEditor>(*inst->program, *form);
        editor->OpenResidentView();
    }
    void TearDown(benchmark::State&) override {
        editor.reset();
        form.reset();
        inst.reset();
    }

    // Chooses the entry in the middle of the list, as a click does.
    void chooseMiddle() {
        form->residentChoice.setListIndex(form->residentChoice.count() / 2);
        editor->residentChosen();
    }

    std::unique_ptr<test::Installation> inst;
    std::unique_ptr<ResidentPageForm> form;
    std::unique_ptr<ResidentEditor> editor;
};

BENCHMARK_DEFINE_F(ResidentPage, OpenResidentView)(benchmark::State& state) {
    for (auto _ : state)
        editor->OpenResidentView();
}

BENCHMARK_DEFINE_F(ResidentPage, FillResidentListByName)(benchmark::State& state) {
    editor->showByName();
    for (auto _ : state)
        editor->FillResidentList();
}

BENCHMARK_DEFINE_F(ResidentPage, FillResidentListBySerial)(benchmark::State& state) {
    editor->showBySerial();
    for (auto _ : state)
        editor->FillResidentList();
}

BENCHMARK_DEFINE_F(ResidentPage, FillResidentListByApartment)(benchmark::State& state) {
    editor->showByApartment();
    for (auto _ : state)
        editor->FillResidentList();
}

BENCHMARK_DEFINE_F(ResidentPage, SelectResidentByName)(benchmark::State& state) {
    for (auto _ : state)
        chooseMiddle();
}

BENCHMARK_DEFINE_F(ResidentPage, SelectResidentBySerial)(benchmark::State& state) {
    editor->showBySerial();
    for (auto _ : state)
        chooseMiddle();
}

// A1: the shown resident changed and saved (update, then the list is rebuilt).
BENCHMARK_DEFINE_F(ResidentPage, SaveResidentUpdate)(benchmark::State& state) {
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        chooseMiddle();
        form->firstName.setText("Vorname " + std::to_string(++n));
        state.ResumeTiming();
        editor->SaveResident();
    }
}

// B: a new resident with a free serial number (insert, then the list is rebuilt).
BENCHMARK_DEFINE_F(ResidentPage, SaveResidentInsert)(benchmark::State& state) {
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        editor->newResident();
        form->lastName.setText("Neu " + std::to_string(++n));
        form->apartment.setText("N" + std::to_string(n % 1000000));
        form->serial.setText(std::to_string(1 + n % 999999));
        state.ResumeTiming();
        // A taken serial number would ask; the answer "Nein" inserts all the same.
        inst->dialogs.answer(MsgAnswer::No);
        editor->SaveResident();
        inst->dialogs.answers.clear();
    }
}

BENCHMARK_DEFINE_F(ResidentPage, DeleteResident)(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        chooseMiddle();
        inst->dialogs.answer(MsgAnswer::Yes);  // the delete asks first
        state.ResumeTiming();
        editor->DeleteResident();
    }
}

#define PNL_REGISTER(name) BENCHMARK_REGISTER_F(ResidentPage, name)->Unit(benchmark::kMillisecond)
PNL_REGISTER(OpenResidentView);
PNL_REGISTER(FillResidentListByName);
PNL_REGISTER(FillResidentListBySerial);
PNL_REGISTER(FillResidentListByApartment);
PNL_REGISTER(SelectResidentByName);
PNL_REGISTER(SelectResidentBySerial);
PNL_REGISTER(SaveResidentUpdate);
PNL_REGISTER(SaveResidentInsert);
PNL_REGISTER(DeleteResident);

}  // namespace
}  // namespace pnl

BENCHMARK_MAIN();
