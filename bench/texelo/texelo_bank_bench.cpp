// Speed of whole layout scripts: a generated level of 500 textures (sizes 8
// to 256, converted to 4, 8 and 16 bits, from every Targa form) placed by
// layout scripts, one bank per script, each run in-process as `texelo SCRIPT
// /c` runs it: decoding, conversion, CLUTs and the bank files. Figures are
// textures per second and megabytes (10^6) of Targa files per second.
//
// The level is written below TMPDIR (else /tmp). Replacing a bank file by
// renaming makes some file systems (ext4) write it out at once, which shows
// in the real time; TMPDIR=/dev/shm leaves the disk out of the figures.
#include "../BenchFolder.h"
#include "LargeBank.h"
#include "report/TexeloReporter.h"
#include "script/TexeloContext.h"
#include "script/TexeloEntry.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace
{

namespace fs = std::filesystem;

// The generated level; the process works inside its folder, because banks
// are written relative to the working folder.
struct Workspace
{
    fs::path folder;
    LargeBank level;
};

Workspace& workspace()
{
    static Workspace instance;
    return instance;
}

bool prepareWorkspace()
{
    const std::optional<fs::path> folder = makeBenchFolder("texelo_bench");
    if (!folder)
        return false;
    Workspace& ws = workspace();
    ws.folder = *folder;
    ws.level = writeLargeBank(ws.folder);
    if (ws.level.scripts.empty())
    {
        std::fprintf(stderr, "texelo_bank_bench: cannot write the level into %s\n", ws.folder.c_str());
        return false;
    }
    if (chdir(ws.folder.c_str()) != 0)
    {
        std::perror("texelo_bank_bench: chdir");
        return false;
    }
    return true;
}

void removeWorkspace()
{
    std::error_code ignored;
    if (!workspace().folder.empty())
    {
        fs::current_path(workspace().folder.parent_path(), ignored);
        fs::remove_all(workspace().folder, ignored);
    }
}

// Textures the written banks hold, from the count at the start of each.
int64_t texturesInBanks(const std::vector<std::string>& scripts)
{
    int64_t total = 0;
    for (std::size_t i = 0; i < scripts.size(); ++i)
    {
        char name[32];
        std::snprintf(name, sizeof name, "BANK%02zu.TBK", i);
        std::ifstream in(name, std::ios::binary);
        unsigned char count[4] = {};
        if (!in.read(reinterpret_cast<char*>(count), sizeof count))
            return -1;
        total += count[0] | count[1] << 8 | count[2] << 16 | static_cast<int64_t>(count[3]) << 24;
    }
    return total;
}

void runLevel(benchmark::State& state, const std::vector<std::string>& scripts)
{
    std::FILE* sink = std::fopen("/dev/null", "w");
    if (!sink)
    {
        state.SkipWithError("cannot open /dev/null");
        return;
    }
    for (auto _ : state)
    {
        for (const std::string& script : scripts)
        {
            TexeloReporter reporter(sink, sink);
            TexeloContext ctx(reporter);
            runTexelo(ctx, commandLineOf({script, "/c"}));
        }
    }
    std::fclose(sink);

    const LargeBank& level = workspace().level;
    if (texturesInBanks(scripts) != level.textures)
    {
        state.SkipWithError("the banks do not hold every texture");
        return;
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["textures/s"] = benchmark::Counter(runs * level.textures, benchmark::Counter::kIsRate);
    state.counters["MB_tga/s"] =
        benchmark::Counter(runs * static_cast<double>(level.targaBytes) / 1e6, benchmark::Counter::kIsRate);
}

// Names spelt as the files are: every texture is found at the first try.
void BM_Level500ExactNames(benchmark::State& state)
{
    runLevel(state, workspace().level.scripts);
}

// Names in upper case, files in lower case: each texture is found by
// searching its folder without regard to case.
void BM_Level500UpperCaseNames(benchmark::State& state)
{
    runLevel(state, workspace().level.upperCaseScripts);
}

BENCHMARK(BM_Level500ExactNames)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Level500UpperCaseNames)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    if (!prepareWorkspace())
    {
        removeWorkspace();
        return 1;
    }
    const LargeBank& level = workspace().level;
    benchmark::AddCustomContext("textures", std::to_string(level.textures) + " (" +
                                                std::to_string(level.textures4) + " at 4 bits, " +
                                                std::to_string(level.textures8) + " at 8, " +
                                                std::to_string(level.textures16) + " at 16)");
    benchmark::AddCustomContext("banks", std::to_string(level.scripts.size()));
    benchmark::AddCustomContext("targa_bytes", std::to_string(level.targaBytes));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    removeWorkspace();
    return 0;
}
