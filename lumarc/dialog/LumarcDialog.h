#pragma once

// lumarc/dialog owns Lumarc's window: the dialog, its about box and icon, the
// Qt services behind its message boxes and file choosers, and main().

#include <QDialog>

#include <memory>

class DialogServices;
class MdfRoot;
class QCheckBox;
class QPushButton;
class QTreeWidget;

// "MDF -> RLF": loads a layout, lists its gadgets and saves it as a render
// list for the PC or, with "PSX Version" ticked, the console. Owns the loaded
// layout between commands; at most one is loaded at a time.
class LumarcDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit LumarcDialog(DialogServices& services, QWidget* parent = nullptr);
    ~LumarcDialog() override;

    // The loaded layout, or null.
    [[nodiscard]] const MdfRoot* model() const { return m_model.get(); }

    void loadMdf();
    void saveRlf();
    void showAbout();

    // Every way the dialog ends (Exit, Enter, Escape, the close box) drops the layout.
    void done(int result) override;

private:
    void createControls();
    void createColumns();
    void listGadgets();

    DialogServices& m_services;
    std::unique_ptr<MdfRoot> m_model;
    QPushButton* m_exitButton = nullptr;
    QTreeWidget* m_gadgetList = nullptr;
    QPushButton* m_loadButton = nullptr;
    QPushButton* m_saveButton = nullptr;
    QCheckBox* m_psxCheckBox = nullptr;
};
