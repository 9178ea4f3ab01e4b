#include "TexeloProgram.h"
#include "ProgramArguments.h"
#include "QtFrontEnd.h"
#include "TexeloRun.h"
#include "TexeloWindow.h"
#include "CapturingReporter.h"
#include "texelo/TempFolder.h"

#include <QApplication>
#include <QEvent>
#include <gtest/gtest.h>

#include <filesystem>

namespace
{
// Stands in for the window: records what the program asked of it.
class RecordingFrontEnd final : public TexeloFrontEnd
{
public:
    explicit RecordingFrontEnd(bool seen) : m_seen(seen) {}

    TexeloReporter& reporter() override { return m_reporter; }
    void showWindow(const TexeloContext&, const std::string& shownTitle) override
    {
        title = shownTitle;
        messageLineWhenShown = m_reporter.messageLine();
    }
    std::optional<std::string> whyWindowIsUnseen() const override
    {
        return m_seen ? std::nullopt : std::optional<std::string>("no screen here");
    }
    void waitUntilClosed() override
    {
        ++waits;
        messageLineWhenWaiting = m_reporter.messageLine();
    }
    void closeWindow() override { ++closes; }
    std::optional<std::string> saveMap(const TexeloContext& ctx, const std::string& path) override
    {
        mapSaved = {path, ctx.ShownList.size()};
        return mapFailure;
    }

    std::string title = "(not shown)";
    std::string messageLineWhenShown;
    std::string messageLineWhenWaiting;
    int waits = 0;
    int closes = 0;
    std::optional<std::pair<std::string, size_t>> mapSaved; // path, records shown
    std::optional<std::string> mapFailure;
    CapturingReporter m_reporter;

private:
    bool m_seen;
};

// Runs the program in `folder` as if started there.
int runIn(const std::string& folder, const std::vector<std::string>& arguments, TexeloFrontEnd& frontEnd,
          const std::optional<std::string>& mapPath = std::nullopt)
{
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    const int status = runTexeloProgram(arguments, frontEnd, mapPath);
    std::filesystem::current_path(before);
    return status;
}

class PaintCounter final : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    int paints = 0;
};
} // namespace

// The title joins the arguments with single blanks; the second argument alone
// is the option word.
TEST(TexeloProgram, TitleIsTheWholeCommandLineAndOnlyLowerCaseSlashCEnds)
{
    TempFolder folder;
    folder.write("job.fit", "MESSAGES: ON\nSORT: OFF\n");
    folder.write("My Levels/job.fit", "MESSAGES: ON\nSORT: OFF\n");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"JOB.FIT", "/c"}, "JOB.FIT /c"},
        {{"JOB.FIT", "/C"}, "JOB.FIT /C"},
        {{"JOB.FIT"}, "JOB.FIT"},
        {{"JOB.FIT", "", "/c"}, "JOB.FIT  /c"},
        {{"My Levels/JOB.FIT", "/c"}, "My Levels/JOB.FIT /c"},
    };
    for (const auto& [arguments, commandLine] : cases)
    {
        RecordingFrontEnd frontEnd(true);
        EXPECT_EQ(runIn(folder.path(), arguments, frontEnd), 0);
        EXPECT_EQ(frontEnd.title, commandLine);
        EXPECT_EQ(frontEnd.waits, arguments.size() > 1 && arguments[1] == "/c" ? 0 : 1) << commandLine;
        EXPECT_EQ(frontEnd.closes, 1);
        // Only a .fit script knows SORT; a layout script would take both
        // lines as cell lines and say nothing.
        EXPECT_EQ(frontEnd.m_reporter.output(), "Sorting OFF\n") << commandLine;
        EXPECT_EQ(frontEnd.m_reporter.errors(), "");
    }
}

TEST(TexeloProgram, EmptyCommandLineShowsTheFailureAndWaits)
{
    TempFolder folder;
    RecordingFrontEnd frontEnd(true);
    EXPECT_EQ(runIn(folder.path(), {}, frontEnd), 1);
    EXPECT_EQ(frontEnd.title, "");
    EXPECT_EQ(frontEnd.messageLineWhenShown, ""); // shown before the script runs
    EXPECT_EQ(frontEnd.waits, 1);
    EXPECT_EQ(frontEnd.messageLineWhenWaiting, "Failed to open script file ");
    EXPECT_EQ(frontEnd.m_reporter.output(), "Failed to open script file \n");
}

TEST(TexeloProgram, WithoutAViewerItExplainsInsteadOfWaiting)
{
    TempFolder folder;
    RecordingFrontEnd unseen(false);
    EXPECT_EQ(runIn(folder.path(), {"NONE.FIT"}, unseen), 1);
    EXPECT_EQ(unseen.waits, 0);
    EXPECT_EQ(unseen.m_reporter.errors(), "texelo: the VRAM map cannot be shown: no screen here\n");
    RecordingFrontEnd batch(false);
    EXPECT_EQ(runIn(folder.path(), {"NONE.FIT", "/c"}, batch), 1);
    EXPECT_EQ(batch.m_reporter.errors(), "");
    EXPECT_EQ(batch.m_reporter.output(), "Failed to open script file none.fit\n");
}

TEST(TexeloProgram, LeadingDoubleDashWordsAreOursTheRestFormsTheCommandLine)
{
    using Request = ProgramArguments::Request;
    struct Case
    {
        std::vector<const char*> args;
        Request request;
        std::optional<std::string> mapPath;
        std::string commandLine;
        std::optional<std::string> depfilePath = std::nullopt;
    };
    const std::vector<Case> cases = {
        {{"Levels\\A.FIT", "/c"}, Request::Run, std::nullopt, "Levels\\A.FIT /c"},
        {{}, Request::Run, std::nullopt, ""},
        {{"--map", "m.png", "A.FIT", "/c"}, Request::Run, "m.png", "A.FIT /c"},
        {{"--map=m.png", "A.FIT"}, Request::Run, "m.png", "A.FIT"},
        {{"A.FIT", "--map", "m.png"}, Request::Run, std::nullopt, "A.FIT --map m.png"},
        {{"--", "--odd.fit", "/c"}, Request::Run, std::nullopt, "--odd.fit /c"},
        {{"--map", "m.png"}, Request::Run, "m.png", ""},
        {{"--help"}, Request::Help, std::nullopt, ""},
        {{"--map", "m.png", "--version"}, Request::Version, std::nullopt, ""},
        {{"--depfile", "a b.d", "--map=m.png", "A.FIT"}, Request::Run, "m.png", "A.FIT", "a b.d"},
        {{"--depfile=x.d", "A.FIT", "/c"}, Request::Run, std::nullopt, "A.FIT /c", "x.d"},
        {{"--depfile"}, Request::UsageError, std::nullopt, ""},
        {{"--depfilex", "A.FIT"}, Request::UsageError, std::nullopt, ""},
        {{"--map"}, Request::UsageError, std::nullopt, ""},
        {{"--map="}, Request::UsageError, std::nullopt, ""},
        {{"--colour", "A.FIT"}, Request::UsageError, std::nullopt, ""},
    };
    for (const Case& test : cases)
    {
        std::vector<const char*> argv{"texelo"};
        argv.insert(argv.end(), test.args.begin(), test.args.end());
        const ProgramArguments parsed = parseProgramArguments(static_cast<int>(argv.size()), argv.data());
        SCOPED_TRACE(test.commandLine);
        EXPECT_EQ(parsed.request, test.request);
        if (test.request != Request::Run)
            continue;
        EXPECT_EQ(parsed.mapPath, test.mapPath);
        EXPECT_EQ(parsed.depfilePath, test.depfilePath);
        EXPECT_EQ(commandLineOf(parsed.scriptArguments).text, test.commandLine);
    }
    const char* const unknown[] = {"texelo", "--colour"};
    EXPECT_EQ(parseProgramArguments(2, unknown).usageError, "unknown option --colour");
}

TEST(TexeloProgram, MapIsSavedAfterTheRunAndAFailureEndsWithOne)
{
    // A script without a bank; the map of the empty ShownList is saved all
    // the same.
    TempFolder folder;
    folder.write("none.fit", "");
    RecordingFrontEnd saved(false);
    EXPECT_EQ(runIn(folder.path(), {"NONE.FIT", "/c"}, saved, "map.png"), 0);
    EXPECT_EQ(saved.mapSaved, std::make_pair(std::string("map.png"), size_t{0}));
    EXPECT_EQ(saved.m_reporter.errors(), "");

    RecordingFrontEnd failing(false);
    failing.mapFailure = "No space left on device";
    EXPECT_EQ(runIn(folder.path(), {"NONE.FIT", "/c"}, failing, "/full/map.png"), 1);
    EXPECT_EQ(failing.m_reporter.errors(),
              "texelo: couldn't save the VRAM map as /full/map.png: No space left on device\n");
    RecordingFrontEnd without(false);
    EXPECT_EQ(runIn(folder.path(), {"NONE.FIT", "/c"}, without), 0);
    EXPECT_FALSE(without.mapSaved.has_value());
}

TEST(QtPlatform, OffscreenWithoutADisplayAsFallbackWithOne)
{
    EXPECT_EQ(platformToRequest(nullptr, nullptr, nullptr), "offscreen");
    EXPECT_EQ(platformToRequest("", "", ""), "offscreen");
    EXPECT_EQ(platformToRequest(":0", nullptr, nullptr), "xcb;offscreen");
    EXPECT_EQ(platformToRequest(":0", "wayland-0", nullptr), "wayland;xcb;offscreen");
    EXPECT_EQ(platformToRequest(nullptr, nullptr, "vnc"), std::nullopt);

    EXPECT_EQ(whyPlatformIsUnseen("xcb", ":0", nullptr, nullptr), std::nullopt);
    EXPECT_EQ(whyPlatformIsUnseen("offscreen", nullptr, "", nullptr),
              "there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set)");
    EXPECT_EQ(whyPlatformIsUnseen("offscreen", ":9", nullptr, nullptr),
              "the display named by DISPLAY or WAYLAND_DISPLAY cannot be opened");
    EXPECT_NE(whyPlatformIsUnseen("minimal", ":0", nullptr, "minimal"), std::nullopt);
}

namespace
{
QWidget* texeloWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == TexeloWindow::kClassName)
            return widget;
    return nullptr;
}
} // namespace

// Where no one can see the window (batch builds without a display), painting
// it would only cost time: it is not shown, and reports paint nothing.
TEST(QtFrontEnd, AnUnseenWindowIsNeitherShownNorPainted)
{
    const std::unique_ptr<TexeloFrontEnd> frontEnd = makeFrontEnd("texelo");
    TexeloContext ctx(frontEnd->reporter());
    frontEnd->showWindow(ctx, "JOB.FIT /c");
    QWidget* window = texeloWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "JOB.FIT /c");
    PaintCounter counter;
    window->installEventFilter(&counter);
    frontEnd->reporter().setMessageLine("Saving");
    EXPECT_EQ(counter.paints, 0);
    EXPECT_EQ(frontEnd->whyWindowIsUnseen(),
              "QT_QPA_PLATFORM asks for \"offscreen\", where no one sees a window");
    frontEnd->closeWindow();
}

// A window someone can see is painted before each report returns. That needs
// a display: from the offscreen test run, the test runs again on a virtual one.
TEST(QtFrontEnd, ReportsPaintTheShownWindowAtOnce)
{
    if (QGuiApplication::platformName() == "offscreen")
    {
        const TexeloRun run = runOnVirtualDisplay(
            {"TEXELO_TESTS_ON_DISPLAY=1", std::filesystem::read_symlink("/proc/self/exe").string(),
             "--gtest_filter=QtFrontEnd.ReportsPaintTheShownWindowAtOnce"},
            ".");
        EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
        EXPECT_NE(run.out.find("[  PASSED  ] 1 test"), std::string::npos) << run.out;
        return;
    }
    const std::unique_ptr<TexeloFrontEnd> frontEnd = makeFrontEnd("texelo");
    TexeloContext ctx(frontEnd->reporter());
    frontEnd->showWindow(ctx, "JOB.FIT /c");
    QWidget* shown = texeloWindow();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->windowTitle(), "JOB.FIT /c");
    EXPECT_EQ(QCoreApplication::applicationName(), TexeloWindow::kClassName);

    PaintCounter counter;
    shown->installEventFilter(&counter);
    frontEnd->reporter().setMessageLine("Saving");
    EXPECT_EQ(counter.paints, 1); // painted before setMessageLine returned
    // Closing during the run is put off until it ends.
    EXPECT_FALSE(shown->close());
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(frontEnd->whyWindowIsUnseen(), std::nullopt);
    frontEnd->waitUntilClosed(); // returns at once: the close was asked for
    frontEnd->closeWindow();
    frontEnd->reporter().setMessageLine("after the window");
    EXPECT_EQ(counter.paints, 1);
}
