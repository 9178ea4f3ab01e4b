// Speed of the MDF to RLF conversion on a large layout (10,000 gadgets, a
// million primitives): loading, converting with the layout pass, writing,
// and the whole run as the command line does it. Throughput is given in
// bytes of MDF per second, so the stages compare with each other.
#include "BenchFolder.h"
#include "BinaryOutStream.h"
#include "LargeLayout.h"
#include "LumarcCommandLine.h"
#include "MdfLoader.h"
#include "RlfConversion.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace
{

namespace fs = std::filesystem;

constexpr int kIterations = 5;

// The generated input and the place outputs go; made once per process.
struct Workspace
{
    fs::path folder;
    std::string mdfPath;
    std::string rlfPath;
    int64_t mdfBytes = 0;
};

Workspace& workspace()
{
    static Workspace instance;
    return instance;
}

bool prepareWorkspace()
{
    const std::optional<fs::path> folder = makeBenchFolder("lumarc_bench");
    if (!folder)
        return false;
    Workspace& ws = workspace();
    ws.folder = *folder;
    ws.mdfPath = (ws.folder / "large.mdf").string();
    ws.rlfPath = (ws.folder / "large.rlf").string();
    const mdfwriter::Bytes bytes = makeLargeMdf();
    ws.mdfBytes = static_cast<int64_t>(bytes.size());
    if (!mdfwriter::writeFile(ws.mdfPath, bytes))
    {
        std::fprintf(stderr, "lumarc_bench: cannot write %s\n", ws.mdfPath.c_str());
        return false;
    }
    return true;
}

void removeWorkspace()
{
    std::error_code ignored;
    if (!workspace().folder.empty())
        fs::remove_all(workspace().folder, ignored);
}

std::unique_ptr<MdfRoot> loadOrFail(benchmark::State& state)
{
    MdfLoadResult loaded = loadMdf(workspace().mdfPath);
    if (loaded.status != MdfLoadStatus::Loaded)
        state.SkipWithError(loaded.message.c_str());
    return std::move(loaded.model);
}

void reportThroughput(benchmark::State& state)
{
    state.SetBytesProcessed(state.iterations() * workspace().mdfBytes);
}

void BM_Load(benchmark::State& state)
{
    for (auto _ : state)
    {
        MdfLoadResult loaded = loadMdf(workspace().mdfPath);
        if (loaded.status != MdfLoadStatus::Loaded)
        {
            state.SkipWithError(loaded.message.c_str());
            break;
        }
        // Freeing the model is not loading; the whole run below counts it.
        state.PauseTiming();
        loaded.model.reset();
        state.ResumeTiming();
    }
    reportThroughput(state);
}

void BM_Convert(benchmark::State& state)
{
    const std::unique_ptr<MdfRoot> model = loadOrFail(state);
    if (!model)
        return;
    for (auto _ : state)
    {
        std::unique_ptr<RlfFile> rlf = buildRlf(*model, 0);
        rlf->layout();
        benchmark::DoNotOptimize(rlf->size());
        state.PauseTiming();
        rlf.reset();
        state.ResumeTiming();
    }
    reportThroughput(state);
}

void BM_Write(benchmark::State& state)
{
    const std::unique_ptr<MdfRoot> model = loadOrFail(state);
    if (!model)
        return;
    const std::unique_ptr<RlfFile> rlf = buildRlf(*model, 0);
    rlf->layout();
    for (auto _ : state)
    {
        BinaryOutStream stream;
        if (!stream.open(workspace().rlfPath, "wb", true) || !rlf->write(stream) || !stream.close())
        {
            state.SkipWithError("writing the render list failed");
            break;
        }
    }
    reportThroughput(state);
    state.counters["rlf_bytes"] = static_cast<double>(rlf->size());
}

// Load, convert, report the size, lay out, write and free, exactly as
// `lumarc INPUT.mdf OUTPUT.rlf` does.
void BM_WholeConversion(benchmark::State& state)
{
    std::FILE* null = std::fopen("/dev/null", "w");
    if (!null)
    {
        state.SkipWithError("cannot open /dev/null");
        return;
    }
    const std::vector<std::string> args{workspace().mdfPath, workspace().rlfPath};
    for (auto _ : state)
    {
        if (runLumarcCommandLine(args, null, stderr) != kExitOk)
        {
            state.SkipWithError("the conversion failed");
            break;
        }
    }
    std::fclose(null);
    reportThroughput(state);
}

BENCHMARK(BM_Load)->Iterations(kIterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convert)->Iterations(kIterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Write)->Iterations(kIterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeConversion)->Iterations(kIterations)->UseRealTime()->Unit(benchmark::kMillisecond);

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
    benchmark::AddCustomContext("mdf_bytes", std::to_string(workspace().mdfBytes));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    removeWorkspace();
    return 0;
}
