// The file-group lookup runs for every row the list draws, so it is timed
// per lookup on the shipped groups; loading the shipped options file is
// what start-up and "Re-read otpions" pay.
#include "settings/FileGroups.h"
#include "settings/OptionsStore.h"

#include <benchmark/benchmark.h>
#include <clocale>
#include <cstdio>
#include <unistd.h>

using namespace orvo;

namespace {

// A mix as a source tree or a download folder shows it: hits early and
// late in the group list, upper-case names and files of no group.
const char* const kExtensions[] = {"jpg", "PNG", "cpp", "h", "txt", "pdf", "zip", "tar",
                                   "sh",  "mp3", "mkv", "o", "log", "JPG", "md",  "xyz"};
constexpr int kExtensionCount = sizeof(kExtensions) / sizeof(kExtensions[0]);

void Seed(OptionsStore& store) {
    std::string path = "/tmp/orvo-bench-settings-missing-" + std::to_string(::getpid());
    store.Load(path); // no such file: the shipped tables
}

// Times one lookup per iteration on the shipped groups.
template <class Lookup> void CycleExtensions(benchmark::State& state, Lookup lookup) {
    OptionsStore store;
    Seed(store);
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup(store.Database(), kExtensions[i]));
        i = (i + 1) % kExtensionCount;
    }
}

void BM_FindFileGroup(benchmark::State& state) {
    CycleExtensions(state, [](QDataBase& db, const char* ext) { return FindFileGroup(db, ext); });
}
BENCHMARK(BM_FindFileGroup);

void BM_GetFileGroupStyle(benchmark::State& state) {
    CycleExtensions(state,
                    [](QDataBase& db, const char* ext) { return GetFileGroupStyle(db, ext); });
}
BENCHMARK(BM_GetFileGroupStyle);

void BM_LoadOptionsFile(benchmark::State& state) {
    std::string path = "/tmp/orvo-bench-settings-" + std::to_string(::getpid()) + ".qad";
    {
        OptionsStore store;
        Seed(store);
        store.Save(path);
    }
    for (auto _ : state) {
        OptionsStore store;
        benchmark::DoNotOptimize(store.Load(path));
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadOptionsFile)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
