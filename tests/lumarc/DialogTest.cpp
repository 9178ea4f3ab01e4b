// The dialog on Qt's offscreen platform, its file choosers and message boxes
// answered by a script: one check of each control's wiring, the texts the
// user reads, and the about box.
#include "AboutDialog.h"
#include "DialogServices.h"
#include "LumarcDialog.h"
#include "LumarcFiles.h"
#include "MdfRoot.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <deque>

namespace
{

// Answers file choosers in order (cancelling once out of answers) and logs
// "open: TITLE", "save: TITLE" and "CAPTION: TEXT" (" [error]" with the icon).
class ScriptedServices final : public DialogServices
{
public:
    std::deque<QString> answers;
    QStringList log;

    std::optional<QString> openFileName(QWidget*, const FileDialogRequest& request) override
    {
        return answer("open: " + request.title);
    }
    std::optional<QString> saveFileName(QWidget*, const FileDialogRequest& request) override
    {
        return answer("save: " + request.title);
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
        const QString next = answers.front();
        answers.pop_front();
        return next;
    }
};

} // namespace

// PSX Version is read when Save starts; Exit drops the loaded layout.
TEST(LumarcDialog, LoadListSaveForEitherScreenAndExit)
{
    const TempFolder folder;
    const QString in =
        QString::fromStdString(folder.write("my screens/panel.mdf", mdfwriter::mdfFile(panelLayout())));
    ScriptedServices services;
    LumarcDialog dialog(services);
    services.answers = {in};
    dialog.findChild<QPushButton*>("loadButton")->click();
    EXPECT_EQ(dialog.windowTitle(), "MDF -> RLF : (" + in + ")");
    const QTreeWidgetItem* row = dialog.findChild<QTreeWidget*>("gadgetList")->topLevelItem(0);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ((QStringList{row->text(0), row->text(1), row->text(2), row->text(3), row->text(4)}),
              (QStringList{"0000", "Panel", "1", "1", "2"}));
    for (const bool psx : {false, true})
    {
        SCOPED_TRACE(psx);
        dialog.findChild<QCheckBox*>("psxCheckBox")->setChecked(psx);
        services.answers = {QString::fromStdString(folder.file("out.rlf"))};
        dialog.findChild<QPushButton*>("saveButton")->click();
        EXPECT_EQ(folder.read("out.rlf"), savedRlf(panelLayout(), psx ? kPsxYOffset : 0));
    }
    EXPECT_EQ(services.log,
              (QStringList{"open: Load MDF File ...", "save: Save RLF File ...", "Size should be: 128 bytes",
                           "save: Save RLF File ...", "Size should be: 128 bytes"}));
    dialog.findChild<QPushButton*>("exitButton")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.model(), nullptr);
}

// The about item (F1, or the window's context menu) opens the about box.
TEST(LumarcDialog, AboutItemShowsTheVersion)
{
    ScriptedServices services;
    LumarcDialog dialog(services);
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
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
