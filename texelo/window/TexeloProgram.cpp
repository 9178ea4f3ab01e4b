#include "TexeloProgram.h"

#include "ProgramArguments.h"
#include "files/DependencyFile.h"

#include <cstdio>

int runTexeloMain(int argc, const char* const* argv, FrontEndFactory makeFrontEnd)
{
    const ProgramArguments arguments = parseProgramArguments(argc, argv);
    switch (arguments.request)
    {
    case ProgramArguments::Request::Help:
        std::fputs(programUsage(), stdout);
        return 0;
    case ProgramArguments::Request::Version:
        std::fputs("texelo 1.0\n", stdout);
        return 0;
    case ProgramArguments::Request::UsageError:
        std::fprintf(stderr, "texelo: %s\n%s", arguments.usageError.c_str(), programUsage());
        return 2;
    case ProgramArguments::Request::Run:
        break;
    }
    const FrontEndNeeds needs{commandLineOf(arguments.scriptArguments).batch, arguments.mapPath.has_value()};
    const std::unique_ptr<TexeloFrontEnd> frontEnd = makeFrontEnd(argc > 0 ? argv[0] : "texelo", needs);
    frontEnd->reporter().setQuiet(arguments.quiet);
    return runTexeloProgram(arguments.scriptArguments, *frontEnd, arguments.mapPath, arguments.depfilePath);
}

AfterRun afterRun(const TexeloCommandLine& commandLine, bool windowSeen)
{
    if (commandLine.batch)
        return AfterRun::Exit;
    return windowSeen ? AfterRun::WaitForClose : AfterRun::ExplainNoWindow;
}

int runTexeloProgram(const std::vector<std::string>& scriptArguments, TexeloFrontEnd& frontEnd,
                     const std::optional<std::string>& mapPath, const std::optional<std::string>& depfilePath)
{
    const TexeloCommandLine commandLine = commandLineOf(scriptArguments);
    TexeloContext ctx(frontEnd.reporter());
    frontEnd.showWindow(ctx, commandLine.text);
    const std::size_t errorsBefore = ctx.reporter.errorCount();
    runTexelo(ctx, commandLine);

    if (mapPath)
        if (const std::optional<std::string> failure = frontEnd.saveMap(ctx, *mapPath))
            ctx.reporter.errorAt(
                0, formatText("cannot save the VRAM map as %s: %s", mapPath->c_str(), failure->c_str()));
    if (depfilePath)
        if (const std::optional<std::string> failure = writeDependencyFile(*depfilePath, ctx.files))
            ctx.reporter.errorAt(0, formatText("cannot write the dependency file %s: %s",
                                               depfilePath->c_str(), failure->c_str()));
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
