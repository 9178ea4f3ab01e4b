// Case-blind texture lookups: 500 upper-cased names, as scripts give them,
// looked up in a folder of 500 and one of 5,000 lower-case files:
//   WholeRun          one script run's lookups through RunFiles, which reads
//                     the folder once: the read included
//   AfterTheRead      the same lookups answered from a folder already read
//   EachLookupScans   the plain lookup, which searches the folder every time
//                     (what every lookup of a run did before RunFiles)
// The folder's one read is bounded below by the kernel's listing of it
// (about 0.15 us an entry on ext4), which WholeRun/5000 shows.
#include "../BenchFolder.h"
#include "files/PathLookup.h"
#include "files/RunFiles.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace
{

constexpr int kLookups = 500;

std::string fileName(int number, bool upper)
{
    char name[32];
    std::snprintf(name, sizeof name, upper ? "TEX%04d.TGA" : "tex%04d.tga", number);
    return name;
}

// The generated folders by size, removed at exit.
struct Folders
{
    ~Folders()
    {
        for (const auto& [files, folder] : made)
        {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    }
    std::map<int, std::string> made;
};

// The folder of `files` files, made once per size; empty when it cannot be.
const std::string& folderOf(int files)
{
    static Folders folders;
    std::string& folder = folders.made[files];
    if (folder.empty())
        if (const auto made = makeBenchFolder("texelo_lookup_bench"))
        {
            for (int i = 0; i < files; ++i)
                std::ofstream(*made / fileName(i, false));
            folder = made->string() + "/";
        }
    return folder;
}

// Every name of the folder's first 500, spread across its name order.
template <typename Lookup>
void lookUpAll(benchmark::State& state, Lookup lookUp)
{
    const int files = static_cast<int>(state.range(0));
    const std::string& folder = folderOf(files);
    if (folder.empty())
    {
        state.SkipWithError("cannot create the folder");
        return;
    }
    for (auto _ : state)
        if (!lookUp(folder, files))
            state.SkipWithError("a texture was not found");
    state.SetItemsProcessed(state.iterations() * kLookups);
}

bool lookUpIn(RunFiles& run, const std::string& folder, int files)
{
    for (int i = 0; i < kLookups; ++i)
        if (!run.lookUp(folder + fileName(i * (files / kLookups), true)).found)
            return false;
    return true;
}

void WholeRun(benchmark::State& state)
{
    lookUpAll(state,
              [](const std::string& folder, int files)
              {
                  RunFiles run;
                  return lookUpIn(run, folder, files);
              });
}

void AfterTheRead(benchmark::State& state)
{
    RunFiles run;
    lookUpAll(state, [&run](const std::string& folder, int files) { return lookUpIn(run, folder, files); });
}

void EachLookupScans(benchmark::State& state)
{
    lookUpAll(state,
              [](const std::string& folder, int files)
              {
                  for (int i = 0; i < kLookups; ++i)
                      if (resolveExistingPath(folder + fileName(i * (files / kLookups), true)).empty())
                          return false;
                  return true;
              });
}

} // namespace

BENCHMARK(WholeRun)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(AfterTheRead)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(EachLookupScans)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
