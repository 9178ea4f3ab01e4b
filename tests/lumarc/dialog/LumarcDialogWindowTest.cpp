// What the user sees: controls, columns, the about box, the icon, the real
// file dialogs and message boxes, and the executable without a display.
#include "AboutDialog.h"
#include "DialogUnits.h"
#include "LumarcDialog.h"
#include "LumarcIcon.h"
#include "ProgramRun.h"
#include "QtDialogServices.h"
#include "ScriptedServices.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

// Runs `inspect` on the modal window once `openIt` has opened it, then closes it.
template <typename Window>
void whileModal(const std::function<void()>& openIt, const std::function<void(Window&)>& inspect)
{
    bool seen = false;
    QTimer::singleShot(0,
                       [&]
                       {
                           auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
                           if (window)
                               inspect(*window);
                           seen = window != nullptr;
                           if (QApplication::activeModalWidget())
                               QApplication::activeModalWidget()->close();
                       });
    openIt();
    EXPECT_TRUE(seen);
}

// The controls that take the focus with Tab, in the order Tab visits them.
std::vector<QWidget*> tabChain(QWidget& first)
{
    std::vector<QWidget*> chain{&first};
    for (QWidget* next = first.nextInFocusChain(); next != &first; next = next->nextInFocusChain())
        if (next->focusPolicy() & Qt::TabFocus)
            chain.push_back(next);
    return chain;
}

// Sets or removes environment variables for the life of the object.
class EnvironmentChange
{
public:
    void set(const char* name, const char* value)
    {
        const char* old = std::getenv(name);
        m_saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~EnvironmentChange()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
            it->second ? setenv(it->first.c_str(), it->second->c_str(), 1) : unsetenv(it->first.c_str());
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

} // namespace

TEST(LumarcDialogWindow, ControlsKeepTheirTextsOrderAndPlaces)
{
    ScriptedServices services;
    LumarcDialog dialog(services);
    EXPECT_EQ(dialog.windowTitle(), "MDF -> RLF");
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);

    auto* exit = dialog.findChild<QPushButton*>("exitButton");
    auto* list = dialog.findChild<QTreeWidget*>("gadgetList");
    auto* load = dialog.findChild<QPushButton*>("loadButton");
    auto* save = dialog.findChild<QPushButton*>("saveButton");
    auto* psx = dialog.findChild<QCheckBox*>("psxCheckBox");
    ASSERT_TRUE(exit && list && load && save && psx);
    EXPECT_EQ(exit->text(), "E&xit");
    EXPECT_EQ(load->text(), "&Load MDF");
    EXPECT_EQ(save->text(), "&Save RLF");
    EXPECT_EQ(psx->text(), "PSX Version");
    EXPECT_TRUE(exit->isDefault());
    EXPECT_FALSE(psx->isChecked());
    EXPECT_EQ(tabChain(*exit), (std::vector<QWidget*>{exit, list, load, save, psx}));

    // Dialog units: a quarter of the average character width, an eighth of its height.
    const QFontMetrics metrics(dialog.font());
    const auto x = [&](int units) { return (units * metrics.averageCharWidth() + 2) / 4; };
    const auto y = [&](int units) { return (units * metrics.height() + 4) / 8; };
    EXPECT_EQ(dialog.size(), QSize(x(352), y(261)));
    EXPECT_EQ(exit->geometry(), QRect(x(5), y(240), x(80), y(15)));
    EXPECT_EQ(list->geometry(), QRect(x(5), y(5), x(340), y(230)));
    EXPECT_EQ(load->geometry(), QRect(x(175), y(240), x(80), y(15)));
    EXPECT_EQ(save->geometry(), QRect(x(265), y(240), x(80), y(15)));
    EXPECT_EQ(psx->geometry(), QRect(x(105), y(240), x(60), y(15)));
}

TEST(LumarcDialogWindow, ListHasTheFiveColumnsWithoutSorting)
{
    ScriptedServices services;
    LumarcDialog dialog(services);
    auto* list = dialog.findChild<QTreeWidget*>("gadgetList");
    const QStringList headings{"ID", "Name", "Child Rects", "Hotspots", "Prims"};
    const int widths[] = {64, 220, 70, 60, 50};
    ASSERT_EQ(list->columnCount(), 5);
    for (int column = 0; column < 5; ++column)
    {
        EXPECT_EQ(list->headerItem()->text(column), headings[column]);
        EXPECT_EQ(list->columnWidth(column), widths[column]);
    }
    EXPECT_FALSE(list->isSortingEnabled());
    EXPECT_FALSE(list->header()->sectionsClickable());
    EXPECT_FALSE(list->rootIsDecorated());
}

TEST(LumarcDialogWindow, EnterPressesExit)
{
    ScriptedServices services;
    LumarcDialog dialog(services);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(LumarcDialogWindow, AboutItemOpensTheAboutBox)
{
    ScriptedServices services;
    LumarcDialog dialog(services);
    EXPECT_EQ(dialog.contextMenuPolicy(), Qt::ActionsContextMenu);
    auto* about = dialog.findChild<QAction*>("aboutAction");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(), "&About Lumarc...");
    EXPECT_EQ(about->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_TRUE(dialog.actions().contains(about));
    whileModal<AboutDialog>([&] { about->trigger(); },
                            [](AboutDialog& box) { EXPECT_EQ(box.windowTitle(), "About Lumarc"); });
}

TEST(LumarcDialogWindow, AboutBoxShowsIconVersionAndOk)
{
    AboutDialog about;
    EXPECT_EQ(about.windowTitle(), "About Lumarc");
    EXPECT_EQ(about.size(), DialogUnits(about.font()).toPixels(235, 55));
    EXPECT_EQ(about.findChild<QLabel*>("aboutVersion")->text(), "Lumarc Version 1.0");
    EXPECT_EQ(about.findChild<QLabel*>("aboutPurpose")->text(), "MDF to RLF converter");
    EXPECT_EQ(about.findChild<QLabel*>("aboutIcon")->pixmap().size(), QSize(32, 32));
    auto* ok = about.findChild<QPushButton*>("aboutOk");
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());
}

TEST(LumarcDialogWindow, IconHasBothSizesInSixteenColours)
{
    ScriptedServices services;
    LumarcDialog dialog(services);
    const QIcon icon = dialog.windowIcon();
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{32, 32}, {16, 16}}));
    for (const QSize& size : icon.availableSizes())
    {
        const QImage image = icon.pixmap(size).toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) == 255)
                    colours.insert(image.pixel(x, y));
        EXPECT_LE(colours.size(), 16);
        EXPECT_GE(colours.size(), 4);
    }
}

TEST(LumarcDialogWindow, RealMessageBoxHasOnlyOkAndTheAskedIcon)
{
    QtDialogServices services;
    whileModal<QMessageBox>(
        [&] { services.showMessage(nullptr, "4 bytes", "Size should be", MessageIcon::None); },
        [](QMessageBox& box)
        {
            EXPECT_EQ(box.text(), "4 bytes");
            EXPECT_EQ(box.windowTitle(), "Size should be");
            EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
            EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
        });
    whileModal<QMessageBox>(
        [&] { services.showMessage(nullptr, "Couldn't open MDF file", "Error", MessageIcon::Error); },
        [](QMessageBox& box) { EXPECT_EQ(box.icon(), QMessageBox::Critical); });
}

TEST(LumarcDialogWindow, RealFileDialogsAskAsRequested)
{
    QtDialogServices services;
    const FileDialogRequest request{"Load MDF File ...", {"MDF Files (*.mdf)", "All Files (*)"}, "mdf"};
    std::optional<QString> answer;
    whileModal<QFileDialog>([&] { answer = services.openFileName(nullptr, request); },
                            [&](QFileDialog& dialog)
                            {
                                EXPECT_EQ(dialog.windowTitle(), request.title);
                                EXPECT_EQ(dialog.nameFilters(), request.nameFilters);
                                EXPECT_EQ(dialog.defaultSuffix(), "mdf");
                                EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
                                EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
                            });
    EXPECT_FALSE(answer);
    whileModal<QFileDialog>([&] { answer = services.saveFileName(nullptr, request); },
                            [](QFileDialog& dialog)
                            {
                                EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
                                EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
                            });
    EXPECT_FALSE(answer);
}

// Both dialogs start in the folder of the file last chosen, also for a later
// run; with "All Files" a typed name keeps its own extension.
TEST(LumarcDialogWindow, RealFileDialogsStartInTheFolderLastUsed)
{
    const QTemporaryDir first;
    const QTemporaryDir second;
    const QString mdf = first.filePath("in.mdf");
    QFile file(mdf);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const FileDialogRequest load{"Load MDF File ...", {"MDF Files (*.mdf)", "All Files (*)"}, "mdf"};
    const FileDialogRequest save{"Save RLF File ...", {"RLF Files (*.rlf)", "All Files (*)"}, "rlf"};
    const auto choose = [](const QString& file, const QString& filter, QString& startedIn)
    {
        return [&, file, filter](QFileDialog& dialog)
        {
            startedIn = dialog.directory().absolutePath();
            // The name first, as a user types it, then the filter.
            dialog.selectFile(file);
            dialog.selectNameFilter(filter);
            static_cast<QDialog&>(dialog).accept();
        };
    };
    QString startedIn;
    std::optional<QString> answer;
    QtDialogServices services;
    whileModal<QFileDialog>([&] { answer = services.openFileName(nullptr, load); },
                            choose(mdf, "MDF Files (*.mdf)", startedIn));
    EXPECT_EQ(answer, mdf);
    whileModal<QFileDialog>([&] { answer = services.saveFileName(nullptr, save); },
                            choose(second.filePath("out.rlf"), "All Files (*)", startedIn));
    EXPECT_EQ(startedIn, first.path());
    EXPECT_EQ(answer, second.filePath("out.rlf"));
    // A later run reads the folder from the settings; this one's file dialog
    // would remember the last folder by itself.
    EXPECT_EQ(QSettings("Lumarc", "Lumarc").value("FileDialogs/lastFolder"), second.path());
    const QTemporaryDir earlier;
    QSettings("Lumarc", "Lumarc").setValue("FileDialogs/lastFolder", earlier.path());
    whileModal<QFileDialog>([&] { answer = services.openFileName(nullptr, load); },
                            [&](QFileDialog& dialog) { startedIn = dialog.directory().absolutePath(); });
    EXPECT_EQ(startedIn, earlier.path());
}

TEST(LumarcExecutableWithoutDisplay, FailsWithAMessageInsteadOfOpeningTheDialog)
{
    EnvironmentChange environment;
    environment.set("QT_QPA_PLATFORM", nullptr);
    environment.set("WAYLAND_DISPLAY", nullptr);
    environment.set("DISPLAY", nullptr);
    ProgramRun run = runProgram(LUMARC_EXECUTABLE, {});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("cannot open the dialog: no display"), std::string::npos) << run.err;

    // A display that cannot be reached ends the same way, not with an abort.
    environment.set("DISPLAY", ":4711");
    run = runProgram(LUMARC_EXECUTABLE, {});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("cannot open the dialog: no display"), std::string::npos) << run.err;
}
