// Load MDF and Save RLF as the user drives them, with the file dialogs and
// message boxes answered by a script.
#include "ExpectedRlf.h"
#include "LumarcDialog.h"
#include "MdfRoot.h"
#include "ScriptedServices.h"
#include "TempFolder.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

using namespace mdfwriter;

namespace
{

Prim quad(uint8_t type, int16_t x, int16_t y)
{
    Prim prim;
    prim.type = type;
    prim.vertices = {Vertex{x, y}, Vertex{int16_t(x + 8), y}, Vertex{x, int16_t(y + 8)},
                     Vertex{int16_t(x + 8), int16_t(y + 8)}};
    prim.colours = {Colour{0x12, 0x34, 0x56}};
    return prim;
}

// Eight gadgets; gadget 7 has two rectangle vectors, three hotspot vectors and
// three primitives in its first list (the second list does not count).
Layout eightGadgets()
{
    Layout layout;
    for (int i = 0; i < 7; ++i)
        layout.gadgets.push_back(Gadget{"Gadget" + std::to_string(i)});
    Gadget seventh{"Seventh"};
    seventh.rects = {{Rect{10, -20, 30, 5}, Rect{}}, {Rect{0, 0, 4, 4}}};
    seventh.hotspots = {{Hotspot{5, 6}}, {Hotspot{7, 8}}, {Hotspot{9, 10}}};
    seventh.primLists = {
        PrimList{-10, 20, {quad(kPrimF4, 5, 100), quad(kPrimG4, 0, 0), quad(kPrimFT4, 1, 2)}},
        PrimList{0, 0, {quad(kPrimF4, 0, 0)}}};
    layout.gadgets.push_back(seventh);
    layout.gadgets[1].name.clear();
    return layout;
}

QString q(const std::string& path)
{
    return QString::fromStdString(path);
}

class LumarcDialogCommands : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(folder.valid()); }

    std::string writeLayout(const Layout& layout, const std::string& name = "in.mdf")
    {
        const std::string path = folder.file(name);
        EXPECT_TRUE(writeFile(path, mdfFile(layout)));
        return path;
    }
    void load(const std::string& path)
    {
        services.openAnswers.push_back(q(path));
        dialog.loadMdf();
    }
    void save(const std::string& path)
    {
        services.saveAnswers.push_back(q(path));
        dialog.saveRlf();
    }
    QCheckBox& psx() { return *dialog.findChild<QCheckBox*>("psxCheckBox"); }
    QTreeWidget& list() { return *dialog.findChild<QTreeWidget*>("gadgetList"); }
    QStringList row(int index)
    {
        QStringList texts;
        for (int column = 0; column < list().columnCount(); ++column)
            texts << list().topLevelItem(index)->text(column);
        return texts;
    }

    TempFolder folder;
    ScriptedServices services;
    LumarcDialog dialog{services};
};

const FileDialogRequest kLoadRequest{"Load MDF File ...", {"MDF Files (*.mdf)", "All Files (*)"}, "mdf"};
const FileDialogRequest kSaveRequest{"Save RLF File ...", {"RLF Files (*.rlf)", "All Files (*)"}, "rlf"};

void expectRequest(const FileDialogRequest& actual, const FileDialogRequest& expected)
{
    EXPECT_EQ(actual.title, expected.title);
    EXPECT_EQ(actual.nameFilters, expected.nameFilters);
    EXPECT_EQ(actual.defaultSuffix, expected.defaultSuffix);
}

} // namespace

TEST_F(LumarcDialogCommands, LoadListsOneRowPerGadget)
{
    const std::string path = writeLayout(eightGadgets());
    load(path);
    EXPECT_EQ(services.log, QStringList{"open: Load MDF File ..."});
    expectRequest(services.requests.at(0), kLoadRequest);
    ASSERT_NE(dialog.model(), nullptr);
    EXPECT_EQ(dialog.windowTitle(), "MDF -> RLF : (" + q(path) + ")");
    ASSERT_EQ(list().topLevelItemCount(), 8);
    EXPECT_EQ(row(0), (QStringList{"0000", "Gadget0", "0", "0", "0"}));
    EXPECT_EQ(row(1), (QStringList{"0001", "", "0", "0", "0"}));
    EXPECT_EQ(row(7), (QStringList{"0007", "Seventh", "2", "3", "3"}));
}

TEST_F(LumarcDialogCommands, IndexAboveNineThousandNineHundredNinetyNineShowsAllDigits)
{
    Layout layout;
    layout.gadgets.resize(10001);
    load(writeLayout(layout));
    ASSERT_EQ(list().topLevelItemCount(), 10001);
    EXPECT_EQ(list().topLevelItem(9999)->text(0), "9999");
    EXPECT_EQ(list().topLevelItem(10000)->text(0), "10000");
}

TEST_F(LumarcDialogCommands, FileThatCannotBeOpenedLeavesNoModel)
{
    load(writeLayout(eightGadgets()));
    const std::string missing = folder.file("missing.mdf");
    load(missing);
    EXPECT_EQ(services.log.last(), "Error: Couldn't open MDF file [error]");
    EXPECT_EQ(dialog.model(), nullptr);
    EXPECT_EQ(list().topLevelItemCount(), 0);
    EXPECT_EQ(dialog.windowTitle(), "MDF -> RLF : (" + q(missing) + ")");

    // With no model, Save starts with Load again; cancelling it ends the command.
    services.log.clear();
    services.saveAnswers.push_back(q(folder.file("out.rlf")));
    dialog.saveRlf();
    EXPECT_EQ(services.log, QStringList{"open: Load MDF File ..."});
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"in.mdf"});
}

TEST_F(LumarcDialogCommands, UnreadableFileIsRefusedWhole)
{
    Bytes bytes = mdfFile(eightGadgets());
    bytes.resize(bytes.size() - 3);
    const std::string path = folder.file("cut.mdf");
    ASSERT_TRUE(writeFile(path, bytes));
    load(path);
    ASSERT_EQ(services.log.size(), 2);
    EXPECT_TRUE(
        services.log[1].startsWith("Error: Couldn't read MDF file " + q(path) + ": unexpected end of file"))
        << services.log[1].toStdString();
    EXPECT_TRUE(services.log[1].endsWith(" [error]"));
    EXPECT_EQ(dialog.model(), nullptr);
    EXPECT_EQ(list().topLevelItemCount(), 0);
    EXPECT_EQ(dialog.windowTitle(), "MDF -> RLF : (" + q(path) + ")");
}

TEST_F(LumarcDialogCommands, SaveWithoutModelLoadsFirstAndKeepsTheModel)
{
    const std::string in = writeLayout(Layout{});
    const std::string out = folder.file("out.rlf");
    services.openAnswers.push_back(q(in));
    save(out);
    EXPECT_EQ(services.log,
              (QStringList{"open: Load MDF File ...", "save: Save RLF File ...", "Size should be: 4 bytes"}));
    expectRequest(services.requests.at(1), kSaveRequest);
    EXPECT_EQ(readBytes(out).size(), 4U);
    EXPECT_EQ(list().topLevelItemCount(), 0);
    ASSERT_NE(dialog.model(), nullptr);

    // A loaded model is saved again without loading.
    services.log.clear();
    save(folder.file("again.rlf"));
    EXPECT_EQ(services.log, (QStringList{"save: Save RLF File ...", "Size should be: 4 bytes"}));
}

TEST_F(LumarcDialogCommands, CancelledSaveDialogWritesNothing)
{
    load(writeLayout(eightGadgets()));
    services.log.clear();
    dialog.saveRlf();
    EXPECT_EQ(services.log, QStringList{"save: Save RLF File ..."});
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"in.mdf"});
}

TEST_F(LumarcDialogCommands, PsxAndPcSavesDifferOnlyInY)
{
    const Layout layout = eightGadgets();
    load(writeLayout(layout));
    save(folder.file("pc.rlf"));
    psx().setChecked(true);
    save(folder.file("psx.rlf"));
    EXPECT_EQ(readBytes(folder.file("pc.rlf")), expectedrlf::encode(layout, 0));
    EXPECT_EQ(readBytes(folder.file("psx.rlf")), expectedrlf::encode(layout, 16));
    EXPECT_NE(readBytes(folder.file("pc.rlf")), readBytes(folder.file("psx.rlf")));
    EXPECT_NE(dialog.model(), nullptr);
}

TEST_F(LumarcDialogCommands, PsxVersionIsReadAtTheStartOfSave)
{
    const Layout layout = eightGadgets();
    const std::string in = writeLayout(layout);
    psx().setChecked(true);
    services.openAnswers.push_back(q(in));
    services.whileOpenDialog = [this] { psx().setChecked(false); };
    save(folder.file("psx.rlf"));
    EXPECT_EQ(readBytes(folder.file("psx.rlf")), expectedrlf::encode(layout, 16));

    services.whileSaveDialog = [this] { psx().setChecked(true); };
    save(folder.file("pc.rlf"));
    EXPECT_EQ(readBytes(folder.file("pc.rlf")), expectedrlf::encode(layout, 0));
}

TEST_F(LumarcDialogCommands, NothingIsWrittenBeforeTheSizeBoxIsDismissed)
{
    const Layout layout = eightGadgets();
    load(writeLayout(layout));
    const std::string out = folder.file("out.rlf");
    ASSERT_TRUE(writeFile(out, Bytes{'o', 'l', 'd'}));
    bool checked = false;
    services.whileMessage = [&]
    {
        EXPECT_EQ(readBytes(out), (Bytes{'o', 'l', 'd'}));
        for (const std::string& name : folder.entries())
        {
            if (name != "in.mdf" && name != "out.rlf")
            {
                EXPECT_TRUE(readBytes(folder.file(name)).empty()) << name;
            }
        }
        checked = true;
    };
    save(out);
    EXPECT_TRUE(checked);
    EXPECT_EQ(readBytes(out), expectedrlf::encode(layout, 0));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"in.mdf", "out.rlf"}));
}

TEST_F(LumarcDialogCommands, OutputThatCannotBeOpenedShowsErrorAndWritesNothing)
{
    load(writeLayout(eightGadgets()));
    services.log.clear();
    save(folder.file("missing-folder/out.rlf"));
    EXPECT_EQ(services.log,
              (QStringList{"save: Save RLF File ...", "Error: Couldn't open file for writing [error]"}));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"in.mdf"});
    EXPECT_NE(dialog.model(), nullptr);
}

TEST_F(LumarcDialogCommands, FailedWriteShowsErrorAndKeepsTheEarlierFile)
{
    load(writeLayout(eightGadgets()));
    const std::string out = folder.file("out.rlf");
    ASSERT_TRUE(writeFile(out, Bytes{'o', 'l', 'd'}));
    services.log.clear();
    // Files may not grow past 16 bytes while saving; the signal is ignored so
    // the write fails instead of ending the test.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const rlimit small{16, previous.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    save(out);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    ASSERT_EQ(services.log.size(), 3);
    EXPECT_TRUE(services.log[1].startsWith("Size should be: "));
    EXPECT_EQ(services.log[2], "Error: Couldn't write RLF file [error]");
    EXPECT_EQ(readBytes(out), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"in.mdf", "out.rlf"}));
}

TEST_F(LumarcDialogCommands, EveryWayOfEndingDropsTheModel)
{
    const std::string in = writeLayout(eightGadgets());
    load(in);
    dialog.findChild<QPushButton*>("exitButton")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.model(), nullptr);

    load(in);
    ASSERT_NE(dialog.model(), nullptr);
    dialog.reject(); // Escape and the close box
    EXPECT_EQ(dialog.model(), nullptr);
}
