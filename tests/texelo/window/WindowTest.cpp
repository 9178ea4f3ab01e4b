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

// The program's window, shown for a run, with its paints counted.
struct ShownWindow final : QObject
{
    ShownWindow() : frontEnd(makeFrontEnd("texelo")), ctx(frontEnd->reporter())
    {
        frontEnd->showWindow(ctx, "JOB.FIT /c");
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == TexeloWindow::kClassName)
                window = widget;
        if (window != nullptr)
            window->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    std::unique_ptr<TexeloFrontEnd> frontEnd;
    TexeloContext ctx;
    QWidget* window = nullptr;
    int paints = 0;
};

} // namespace

TEST(TexeloWindow, AnUnseenWindowIsNeitherShownNorPainted)
{
    ShownWindow shown;
    ASSERT_NE(shown.window, nullptr);
    EXPECT_FALSE(shown.window->isVisible());
    shown.frontEnd->reporter().setMessageLine("Saving");
    EXPECT_EQ(shown.paints, 0);
    EXPECT_EQ(shown.frontEnd->whyWindowIsUnseen(),
              "QT_QPA_PLATFORM asks for \"offscreen\", where no one sees a window");
    shown.frontEnd->closeWindow();
}

// From the offscreen run the test runs itself again on a virtual display.
TEST(TexeloWindow, ReportsPaintTheShownWindowAtOnce)
{
    if (QGuiApplication::platformName() == "offscreen")
    {
        RunOptions onDisplay;
        onDisplay.environment = {"TEXELO_TESTS_ON_DISPLAY=1"};
        const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
        const std::string only = "--gtest_filter=TexeloWindow.ReportsPaintTheShownWindowAtOnce";
        const ProgramRun run = runOnVirtualDisplay({self, only}, onDisplay);
        EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
        EXPECT_NE(run.out.find("[  PASSED  ] 1 test"), std::string::npos) << run.out;
        return;
    }
    ShownWindow shown;
    ASSERT_NE(shown.window, nullptr);
    EXPECT_TRUE(shown.window->isVisible());
    shown.paints = 0;
    shown.frontEnd->reporter().setMessageLine("Saving");
    EXPECT_EQ(shown.paints, 1);          // before setMessageLine returned
    EXPECT_FALSE(shown.window->close()); // put off until the run ends
    EXPECT_TRUE(shown.window->isVisible());
    shown.frontEnd->waitUntilClosed(); // returns at once: the close was asked for
    shown.frontEnd->closeWindow();
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("TEXELO_TESTS_ON_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
