// The dialog on Qt's offscreen platform, its file choosers and message boxes
// answered by a script: one check of each control's wiring, the texts the
// user reads, and the about box.
#include "AboutDialog.h"
#include "DialogServices.h"
#include "LumarcDialog.h"
#include "LumarcFiles.h"
#include "MdfRoot.h"
#include "QtDialogServices.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace
{

// Answers file choosers in order (cancelling once out of answers) and logs
// "open: TITLE", "save: TITLE" and "CAPTION: TEXT" (" [error]" with the icon).
// With `real` set, Qt's own file dialogs ask instead.
class ScriptedServices final : public DialogServices
{
public:
    QStringList answers;
    QStringList log;
    QtDialogServices* real = nullptr;

    std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& request) override
    {
        return real ? real->openFileName(parent, request) : answer("open: " + request.title);
    }
    std::optional<QString> saveFileName(QWidget* parent, const FileDialogRequest& request) override
    {
        return real ? real->saveFileName(parent, request) : answer("save: " + request.title);
    }
    void showMessage(QWidget*, const QString& text, const QString& caption, MessageIcon icon) override
    {
        log << caption + ": " + text + (icon == MessageIcon::Error ? " [error]" : "");
    }

private:
    std::optional<QString> answer(const QString& entry)
    {
        log << entry;
        if (answers.empty())
            return std::nullopt;
        return answers.takeFirst();
    }
};

} // namespace

// PSX Version is read when Save starts; Exit drops the loaded layout. A load
// or save that fails shows its message in an error box and keeps no layout.
TEST(LumarcDialog, LoadListSaveForEitherScreenAboutAndExit)
{
    const TempFolder folder;
    const QString in =
        QString::fromStdString(folder.write("my screens/panel.mdf", mdfwriter::mdfFile(familyLayout())));
    const QString cut = QString::fromStdString(folder.write("my screens/cut.mdf", Bytes{5, 0}));
    ScriptedServices services;
    LumarcDialog dialog(services);
    // Its sizes follow the font: a button is more than one and less than two and a half lines tall.
    const int buttonHeight = dialog.findChild<QPushButton*>("loadButton")->height();
    EXPECT_GT(buttonHeight, QFontMetrics(dialog.font()).height());
    EXPECT_LT(buttonHeight, QFontMetrics(dialog.font()).height() * 5 / 2);
    for (const QString& file : {in, QString::fromStdString(folder.file("absent.mdf")), cut})
    {
        services.answers = {file};
        dialog.findChild<QPushButton*>("loadButton")->click();
        EXPECT_EQ(dialog.model() != nullptr, file == in);
    }
    // Save without a layout asks for one first.
    services.answers = {in, QString::fromStdString(folder.file("first.rlf"))};
    dialog.findChild<QPushButton*>("saveButton")->click();
    EXPECT_EQ(folder.read("first.rlf"), savedRlf(familyLayout(), 0));
    EXPECT_EQ(dialog.windowTitle(), "MDF -> RLF : (" + in + ")");
    const QTreeWidget* list = dialog.findChild<QTreeWidget*>("gadgetList");
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        for (int column = 0; column < 5; ++column)
            rows << list->topLevelItem(i)->text(column);
    EXPECT_EQ(rows, (QStringList{"0000", "Kinds", "3", "2", "9", "0001", "Points", "0", "4", "0",
                                 "0002", "Area",  "1", "0", "0", "0003", "Empty",  "0", "0", "0"}));
    dialog.findChild<QCheckBox*>("psxCheckBox")->setChecked(true);
    services.answers = {QString::fromStdString(folder.file("out.rlf"))};
    dialog.findChild<QPushButton*>("saveButton")->click();
    EXPECT_EQ(folder.read("out.rlf"), savedRlf(familyLayout(), kPsxYOffset));
    services.answers = {QString::fromStdString(folder.file("absent/out.rlf"))};
    dialog.findChild<QPushButton*>("saveButton")->click();
    // clang-format off
    EXPECT_EQ(services.log,
              (QStringList{"open: Load MDF File ...", "open: Load MDF File ...", "Error: Couldn't open MDF file [error]", "open: Load MDF File ...",
                           "Error: Couldn't read MDF file " + cut + ": unexpected end of file at byte 0 [error]", "open: Load MDF File ...",
                           "save: Save RLF File ...", "Size should be: 544 bytes", "save: Save RLF File ...", "Size should be: 544 bytes",
                           "save: Save RLF File ...", "Error: Couldn't open file for writing [error]"}));
    // clang-format on
    // The about item (F1, or the window's context menu) opens the about box.
    QStringList shown;
    QTimer::singleShot(0,
                       [&]
                       {
                           auto* about = qobject_cast<AboutDialog*>(QApplication::activeModalWidget());
                           if (about == nullptr)
                               return;
                           shown << about->windowTitle();
                           for (const char* name : {"aboutVersion", "aboutPurpose"})
                               shown << about->findChild<QLabel*>(name)->text();
                           about->close();
                       });
    dialog.findChild<QAction*>("aboutAction")->trigger();
    EXPECT_EQ(shown, (QStringList{"About Lumarc", "Lumarc Version 1.0", "MDF to RLF converter"}));
    dialog.findChild<QPushButton*>("exitButton")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.model(), nullptr);
}

// Both file dialogs offer every file and start in the folder of the file
// last chosen, which later dialogs, also of a later run, find in the settings.
TEST(LumarcDialog, FileDialogsStartInTheFolderLastUsed)
{
    const TempFolder folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(folder.file("settings")));
    const auto q = [&](const std::string& path) { return QString::fromStdString(folder.file(path)); };
    folder.write("layouts/panel.mdf", mdfwriter::mdfFile(panelLayout()));
    folder.write("lists/old.rlf", "");
    folder.write("earlier/old.rlf", "");
    // Clicks `button`, answers the file dialog with `file` (none: cancel) and
    // returns the folder it started in.
    const auto ask = [](LumarcDialog& dialog, const char* button, const QString& file)
    {
        QString startedIn;
        QTimer::singleShot(0,
                           [&]
                           {
                               auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                               if (chooser == nullptr)
                                   return;
                               startedIn = chooser->directory().absolutePath();
                               EXPECT_TRUE(chooser->nameFilters().contains("All Files (*)"));
                               chooser->selectFile(file);
                               file.isEmpty() ? chooser->reject() : chooser->QDialog::accept();
                           });
        dialog.findChild<QPushButton*>(button)->click();
        return startedIn;
    };
    QtDialogServices real;
    ScriptedServices services;
    services.real = &real;
    {
        LumarcDialog dialog(services);
        ask(dialog, "loadButton", q("layouts/panel.mdf"));
        EXPECT_EQ(ask(dialog, "saveButton", q("lists/panel.rlf")), q("layouts"));
    }
    EXPECT_EQ(services.log, QStringList{"Size should be: 128 bytes"});
    EXPECT_EQ(folder.read("lists/panel.rlf"), savedRlf(panelLayout(), 0));
    EXPECT_TRUE(folder.exists("settings/Lumarc/Lumarc.conf"));
    QSettings settings("Lumarc", "Lumarc");
    EXPECT_EQ(settings.value("FileDialogs/lastFolder"), q("lists"));
    // A later run: the folder must come from the settings, as this run's file
    // dialogs would remember it by themselves.
    LumarcDialog later(services);
    settings.setValue("FileDialogs/lastFolder", q("earlier"));
    EXPECT_EQ(ask(later, "loadButton", q("layouts/panel.mdf")), q("earlier"));
    settings.setValue("FileDialogs/lastFolder", q("earlier"));
    EXPECT_EQ(ask(later, "saveButton", ""), q("earlier"));
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
