#include "LumarcDialog.h"

#include "AboutDialog.h"
#include "DialogServices.h"
#include "DialogUnits.h"
#include "LumarcIcon.h"
#include "MdfLoader.h"
#include "RlfConversion.h"
#include "RlfSave.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

namespace
{

const QString kTitle = "MDF -> RLF";

struct Column
{
    const char* heading;
    int widthPixels;
};
constexpr Column kColumns[] = {
    {"ID", 64}, {"Name", 220}, {"Child Rects", 70}, {"Hotspots", 60}, {"Prims", 50}};

// "All Files" matches every name: a "*.*" pattern would hide files without a
// dot here and make the save dialog turn a typed "out.rlf" into "out.*".
const FileDialogRequest& loadRequest()
{
    static const FileDialogRequest request{
        "Load MDF File ...", {"MDF Files (*.mdf)", "All Files (*)"}, "mdf"};
    return request;
}

const FileDialogRequest& saveRequest()
{
    static const FileDialogRequest request{
        "Save RLF File ...", {"RLF Files (*.rlf)", "All Files (*)"}, "rlf"};
    return request;
}

// The engine takes paths as the file system's bytes.
std::string toFileSystemPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// Names in a layout are single-byte text; Latin-1 shows every byte as one character.
QString fromLayoutText(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The engine's messages may name a path, in the file system's bytes.
QString fromEngineMessage(const std::string& message)
{
    return QFile::decodeName(QByteArray::fromStdString(message));
}

} // namespace

LumarcDialog::LumarcDialog(DialogServices& services, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_services(services)
{
    setWindowTitle(kTitle);
    setWindowIcon(lumarcIcon());
    createControls();
    createColumns();

    // Window managers offer no way to add to a window's system menu, so the
    // about item lives in the dialog's context menu and on F1.
    auto* about = new QAction("&About Lumarc...", this);
    about->setObjectName("aboutAction");
    about->setShortcut(QKeySequence(Qt::Key_F1));
    connect(about, &QAction::triggered, this, &LumarcDialog::showAbout);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

LumarcDialog::~LumarcDialog() = default;

void LumarcDialog::createControls()
{
    // Creation order is the tab order: Exit, list, Load, Save, PSX Version.
    m_exitButton = new QPushButton("E&xit", this);
    m_exitButton->setObjectName("exitButton");
    m_exitButton->setDefault(true);
    m_gadgetList = new QTreeWidget(this);
    m_gadgetList->setObjectName("gadgetList");
    m_loadButton = new QPushButton("&Load MDF", this);
    m_loadButton->setObjectName("loadButton");
    m_saveButton = new QPushButton("&Save RLF", this);
    m_saveButton->setObjectName("saveButton");
    m_psxCheckBox = new QCheckBox("PSX Version", this);
    m_psxCheckBox->setObjectName("psxCheckBox");
    setTabOrder(m_exitButton, m_gadgetList);
    setTabOrder(m_gadgetList, m_loadButton);
    setTabOrder(m_loadButton, m_saveButton);
    setTabOrder(m_saveButton, m_psxCheckBox);

    placeInDialogUnits(*this, 352, 261,
                       {{m_exitButton, {5, 240, 80, 15}},
                        {m_gadgetList, {5, 5, 340, 230}},
                        {m_loadButton, {175, 240, 80, 15}},
                        {m_saveButton, {265, 240, 80, 15}},
                        {m_psxCheckBox, {105, 240, 60, 15}}});

    connect(m_exitButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_loadButton, &QPushButton::clicked, this, &LumarcDialog::loadMdf);
    connect(m_saveButton, &QPushButton::clicked, this, &LumarcDialog::saveRlf);
}

void LumarcDialog::createColumns()
{
    // A report list: rows of plain text, headings that do not sort.
    m_gadgetList->setRootIsDecorated(false);
    m_gadgetList->setItemsExpandable(false);
    m_gadgetList->setUniformRowHeights(true);
    m_gadgetList->setSortingEnabled(false);
    m_gadgetList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_gadgetList->setColumnCount(static_cast<int>(std::size(kColumns)));
    QStringList headings;
    for (const Column& column : kColumns)
        headings << column.heading;
    m_gadgetList->setHeaderLabels(headings);
    QHeaderView* header = m_gadgetList->header();
    header->setSectionsClickable(false);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i)
        header->resizeSection(i, kColumns[i].widthPixels);
}

void LumarcDialog::listGadgets()
{
    QList<QTreeWidgetItem*> rows;
    for (uint16_t i = 0; i < m_model->gadgets.count(); ++i)
    {
        const MdfGadget& gadget = m_model->gadgets.at(i);
        rows << new QTreeWidgetItem(
            QStringList{QString::asprintf("%04d", i), fromLayoutText(m_model->gadgetName(i)),
                        QString::number(gadget.rects.count()), QString::number(gadget.hotspots.count()),
                        QString::number(gadget.primitiveCount())});
    }
    m_gadgetList->addTopLevelItems(rows);
}

void LumarcDialog::loadMdf()
{
    const std::optional<QString> path = m_services.openFileName(this, loadRequest());
    if (!path)
        return;
    setWindowTitle(kTitle + " : (" + *path + ")");
    // The old layout goes before the new file is opened.
    m_model.reset();
    m_gadgetList->clear();

    MdfLoadResult loaded = ::loadMdf(toFileSystemPath(*path));
    if (loaded.status != MdfLoadStatus::Loaded)
    {
        m_services.showMessage(this, fromEngineMessage(loaded.message), "Error", MessageIcon::Error);
        return;
    }
    m_model = std::move(loaded.model);
    listGadgets();
}

void LumarcDialog::saveRlf()
{
    // Read once: whatever happens to the check box during the command does not count.
    const int yOffset = m_psxCheckBox->isChecked() ? kPsxYOffset : 0;
    if (!m_model)
    {
        loadMdf();
        if (!m_model)
            return;
    }
    const std::optional<QString> path = m_services.saveFileName(this, saveRequest());
    if (!path)
        return;

    // Nothing is written until the user has seen the size and closed its box.
    const auto showSize = [this](int64_t bytes)
    { m_services.showMessage(this, QString::number(bytes) + " bytes", "Size should be", MessageIcon::None); };
    const RlfSaveResult saved = ::saveRlf(*m_model, yOffset, toFileSystemPath(*path), showSize);
    if (saved.status != RlfSaveStatus::Saved)
        m_services.showMessage(this, fromEngineMessage(saved.message), "Error", MessageIcon::Error);
}

void LumarcDialog::showAbout()
{
    AboutDialog about(this);
    about.exec();
}

void LumarcDialog::done(int result)
{
    m_model.reset();
    QDialog::done(result);
}
