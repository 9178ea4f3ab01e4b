#include "TexeloProgram.h"

#include "ProgramArguments.h"
#include "RunReport.h"
#include "StandardOutput.h"
#include "files/DependencyFile.h"

#include <cstdio>

int runTexeloMain(int argc, const char* const* argv, FrontEndFactory makeFrontEnd)
{
    const ProgramArguments arguments = parseProgramArguments(argc, argv);
    switch (arguments.request)
    {
    case ProgramArguments::Request::Help:
        std::fputs(programUsage(), stdout);
        return outputReached(stdout, stderr, "texelo") ? 0 : 1;
    case ProgramArguments::Request::Version:
        std::fputs("texelo 1.0\n", stdout);
        return outputReached(stdout, stderr, "texelo") ? 0 : 1;
    case ProgramArguments::Request::UsageError:
        std::fprintf(stderr, "texelo: %s\n%s", arguments.usageError.c_str(), programUsage());
        return 2;
    case ProgramArguments::Request::Run:
        break;
    }
    const RunRequests requests{arguments.mapPath, arguments.depfilePath, arguments.reportPath,
                               arguments.dryRun};
    const FrontEndNeeds needs{commandLineOf(arguments.scriptArguments).batch,
                              requests.mapPath.has_value() && !requests.dryRun};
    const std::unique_ptr<TexeloFrontEnd> frontEnd = makeFrontEnd(argc > 0 ? argv[0] : "texelo", needs);
    frontEnd->reporter().setQuiet(arguments.quiet);
    return runTexeloProgram(arguments.scriptArguments, *frontEnd, requests);
}

AfterRun afterRun(const TexeloCommandLine& commandLine, bool windowSeen)
{
    if (commandLine.batch)
        return AfterRun::Exit;
    return windowSeen ? AfterRun::WaitForClose : AfterRun::ExplainNoWindow;
}

// The files asked for besides the banks: the map, the dependency file and
// the report; a dry run writes only the report.
void writeRequestedFiles(TexeloFrontEnd& frontEnd, TexeloContext& ctx, const TexeloCommandLine& commandLine,
                         const RunRequests& requests)
{
    TexeloReporter& reporter = ctx.reporter;
    const auto failed = [&](const char* what, const std::string& path, const std::string& why)
    { reporter.errorAt(0, formatText("cannot write %s %s: %s", what, path.c_str(), why.c_str())); };
    if (requests.mapPath && !requests.dryRun)
        if (const std::optional<std::string> failure = frontEnd.saveMap(ctx, *requests.mapPath))
            failed("the VRAM map", *requests.mapPath, *failure);
    if (requests.depfilePath && !requests.dryRun)
        if (const std::optional<std::string> failure = writeDependencyFile(*requests.depfilePath, ctx.files))
            failed("the dependency file", *requests.depfilePath, *failure);
    if (requests.reportPath)
        if (const std::optional<std::string> failure =
                writeRunReport(*requests.reportPath, commandLine.scriptAsNamed, ctx.WrittenBanks))
            failed("the report", *requests.reportPath, *failure);
}

int runTexeloProgram(const std::vector<std::string>& scriptArguments, TexeloFrontEnd& frontEnd,
                     const RunRequests& requests)
{
    const TexeloCommandLine commandLine = commandLineOf(scriptArguments);
    TexeloContext ctx(frontEnd.reporter());
    ctx.files.setDryRun(requests.dryRun);
    frontEnd.showWindow(ctx, commandLine.text);
    const std::size_t errorsBefore = ctx.reporter.errorCount();
    runTexelo(ctx, commandLine);
    writeRequestedFiles(frontEnd, ctx, commandLine, requests);
    if (const std::optional<std::string>& lost = ctx.reporter.outputLoss())
        ctx.reporter.errorAt(0, "cannot write standard output: " + *lost);
    // Builds go on only after a run without errors; the texts are the same
    // either way.
    const int status = ctx.reporter.errorCount() == errorsBefore ? 0 : 1;

    const std::optional<std::string> unseen = frontEnd.whyWindowIsUnseen();
    switch (afterRun(commandLine, !unseen))
    {
    case AfterRun::Exit:
        break;
    case AfterRun::WaitForClose:
        frontEnd.waitUntilClosed();
        break;
    case AfterRun::ExplainNoWindow:
        ctx.reporter.printError("texelo: the VRAM map cannot be shown: " + *unseen + "\n");
        break;
    }
    frontEnd.closeWindow();
    return status; // ShownList goes with the context
}
