// Texelo's window in process: where no one can see it (batch builds without a
// display) it is neither shown nor painted, since that would only cost time;
// a window someone sees is painted before each report returns.

#include "ProgramRun.h"
#include "TexeloProgram.h"
#include "TexeloWindow.h"

#include <QApplication>
#include <QEvent>
#include <gtest/gtest.h>

#include <filesystem>

namespace
{

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

QWidget* texeloWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == TexeloWindow::kClassName)
            return widget;
    return nullptr;
}

} // namespace

TEST(TexeloWindow, AnUnseenWindowIsNeitherShownNorPainted)
{
    const std::unique_ptr<TexeloFrontEnd> frontEnd = makeFrontEnd("texelo");
    TexeloContext ctx(frontEnd->reporter());
    frontEnd->showWindow(ctx, "JOB.FIT /c");
    QWidget* window = texeloWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->isVisible());
    PaintCounter counter;
    window->installEventFilter(&counter);
    frontEnd->reporter().setMessageLine("Saving");
    EXPECT_EQ(counter.paints, 0);
    EXPECT_EQ(frontEnd->whyWindowIsUnseen(),
              "QT_QPA_PLATFORM asks for \"offscreen\", where no one sees a window");
    frontEnd->closeWindow();
}

// From the offscreen run the test runs itself again on a virtual display.
TEST(TexeloWindow, ReportsPaintTheShownWindowAtOnce)
{
    if (QGuiApplication::platformName() == "offscreen")
    {
        const ProgramRun run =
            runOnVirtualDisplay({std::filesystem::read_symlink("/proc/self/exe").string(),
                                 "--gtest_filter=TexeloWindow.ReportsPaintTheShownWindowAtOnce"},
                                {.workingFolder = "",
                                 .environment = {"TEXELO_TESTS_ON_DISPLAY=1"},
                                 .fileSizeLimit = RLIM_INFINITY});
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
    PaintCounter counter;
    shown->installEventFilter(&counter);
    frontEnd->reporter().setMessageLine("Saving");
    EXPECT_EQ(counter.paints, 1); // before setMessageLine returned
    EXPECT_FALSE(shown->close()); // put off until the run ends
    EXPECT_TRUE(shown->isVisible());
    frontEnd->waitUntilClosed(); // returns at once: the close was asked for
    frontEnd->closeWindow();
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("TEXELO_TESTS_ON_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
