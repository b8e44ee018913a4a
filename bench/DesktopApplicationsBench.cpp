// The "Open with" submenu reads every installed desktop entry each time it
// opens, so the lookup is timed on application folders as large as a full
// desktop's: entries with their translations (about 6 KB each), a third of
// them for text/plain, with a mimeinfo.cache and a user's mimeapps.list.
#include "platform/DesktopApplications.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace orvo;

namespace {

namespace fs = std::filesystem;

// The generated folders, removed when the run ends.
struct Folder {
    fs::path root = fs::temp_directory_path() / ("orvo-bench-apps-" + std::to_string(::getpid()));
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

// Builds the XDG folders once for a count of entries and points the
// variables at them.
void UseDesktop(int entries) {
    static Folder folder;
    static int made = -1;
    const fs::path& root = folder.root;
    if (made != entries) {
        fs::remove_all(root);
        fs::create_directories(root / "system/applications");
        fs::create_directories(root / "config");
        std::string cache = "[MIME Cache]\ntext/plain=";
        std::string translations;
        for (const char* lang : {"de", "fr", "es", "it", "ja", "pt_BR", "ru", "zh_CN", "pl", "nl"})
            translations += std::string("Name[") + lang + "]=Application name\nComment[" + lang +
                            "]=What this application is for, in a long sentence of its own\n"
                            "Keywords[" +
                            lang + "]=one;two;three;four;\n";
        for (int i = 0; i < entries; ++i) {
            const std::string id = "org.example.App" + std::to_string(i) + ".desktop";
            std::ofstream(root / "system/applications" / id)
                << "[Desktop Entry]\nType=Application\nName=App " << i << "\nExec=app" << i
                << " %U\nIcon=app" << i
                << "\nMimeType=" << (i % 3 == 0 ? "text/plain;" : "image/png;image/jpeg;") << "\n"
                << translations << translations << translations << translations
                << "\n[Desktop Action new-window]\nName=New Window\nExec=app" << i << " --new\n";
            if (i % 3 == 0)
                cache += id + ";";
        }
        std::ofstream(root / "system/applications/mimeinfo.cache") << cache << "\n";
        std::ofstream(root / "config/mimeapps.list")
            << "[Default Applications]\ntext/plain=org.example.App3.desktop\n";
        made = entries;
    }
    ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    ::setenv("XDG_DATA_DIRS", (root / "system").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", (root / "etc").c_str(), 1);
}

void BM_ApplicationsForTextFile(benchmark::State& state) {
    UseDesktop(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ApplicationsForTypes({"text/x-c++src", "text/plain"}));
}
BENCHMARK(BM_ApplicationsForTextFile)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

void BM_InstalledApplications(benchmark::State& state) {
    UseDesktop(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(InstalledApplications());
}
BENCHMARK(BM_InstalledApplications)->Arg(400)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
