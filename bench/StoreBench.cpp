// Save, load and sort of a listing table of 100 000 rows, with plain reading
// of the same file's bytes as the yardstick for loading, and the heap bytes
// a loaded row costs beyond its text.
#include "platform/FileIO.h"
#include "store/ListingFields.h"
#include "store/StoreArchive.h"

#include <benchmark/benchmark.h>

#include <clocale>
#include <cstdio>
#include <malloc.h>
#include <unistd.h>

using namespace orvo;

namespace {

constexpr int kRows = 100000;

std::string BenchFile() {
    static std::string path = "/tmp/orvo-bench-store-" + std::to_string(::getpid()) + ".orl";
    return path;
}

size_t g_textBytes = 0;

void FillListing(QTable& t) {
    g_textBytes = 0;
    t.Reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        QRecord r = t.NewRecord();
        // Names in a scrambled order so the sort has work to do.
        unsigned k = static_cast<unsigned>(i) * 2654435761u % 1000003u;
        std::string name = "file_" + std::to_string(k);
        std::string ext = (i % 3 == 0) ? "txt" : (i % 3 == 1 ? "jpg" : "cpp");
        r.SetValue("Name", QValue(std::string_view(name)));
        r.SetValue("Path", QValue(std::string_view("")));
        r.SetValue("Extension", QValue(std::string_view(ext)));
        r.SetValue("Size", QValue(static_cast<uint32_t>(k * 37), QVT_DWORD));
        r.SetValue("Date", QValue(45000.0 + i % 1000, QVT_DATE));
        r.SetValue("Time", QValue(45000.5, QVT_DATE));
        r.SetValue("Attr", QValue(std::string_view("-a--")));
        r.SetValue("Directory", QValue(i % 10 == 0, QVT_BOOL));
        t.AddRecord(r);
        g_textBytes += name.size() + ext.size() + 4;
    }
}

void EnsureFile() {
    static bool done = false;
    if (done)
        return;
    QTable t(kListingFieldsA, kListingFieldCount);
    FillListing(t);
    SaveTableFile(BenchFile(), t);
    done = true;
}

void BM_SaveListing(benchmark::State& state) {
    QTable t(kListingFieldsA, kListingFieldCount);
    FillListing(t);
    for (auto _ : state)
        SaveTableFile(BenchFile(), t);

}

void BM_ReadFileBytes(benchmark::State& state) {
    EnsureFile();
    for (auto _ : state) {
        std::string bytes = ReadWholeFile(BenchFile());
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(ReadWholeFile(BenchFile()).size()));
}

void BM_LoadListing(benchmark::State& state) {
    EnsureFile();
    for (auto _ : state) {
        auto t = std::make_unique<QTable>();
        LoadTableFile(BenchFile(), *t);
        benchmark::DoNotOptimize(t->GetRecordCount());
        state.PauseTiming(); // freeing the table is not part of loading it
        t.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(ReadWholeFile(BenchFile()).size()));
}

void BM_SortByName(benchmark::State& state) {
    std::setlocale(LC_ALL, "C.UTF-8");
    QTable t(kListingFieldsB, kListingFieldCount);
    FillListing(t);
    bool ascending = true;
    for (auto _ : state) {
        t.Sort("Name", ascending);
        ascending = !ascending;
    }
}

void BM_MemoryPerRow(benchmark::State& state) {
    EnsureFile();
    for (auto _ : state) {
        malloc_trim(0);
        size_t before = mallinfo2().uordblks + mallinfo2().hblkhd;
        auto* t = new QTable;
        LoadTableFile(BenchFile(), *t);
        size_t after = mallinfo2().uordblks + mallinfo2().hblkhd;
        QTable probe(kListingFieldsA, kListingFieldCount);
        FillListing(probe); // recomputes the text bytes of the same rows
        state.counters["heap_bytes_per_row"] = static_cast<double>(after - before) / kRows;
        state.counters["beyond_text_per_row"] =
            static_cast<double>(after - before - g_textBytes) / kRows;
        delete t;
    }
}

} // namespace

BENCHMARK(BM_SaveListing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadListing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryPerRow)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(BenchFile().c_str());
    return 0;
}
