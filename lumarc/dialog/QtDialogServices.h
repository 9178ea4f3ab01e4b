#pragma once

#include "DialogServices.h"

// The dialog services as the user sees them: Qt's file dialogs and message boxes.
class QtDialogServices final : public DialogServices
{
public:
    [[nodiscard]] std::optional<QString> openFileName(QWidget* parent,
                                                      const FileDialogRequest& request) override;
    [[nodiscard]] std::optional<QString> saveFileName(QWidget* parent,
                                                      const FileDialogRequest& request) override;
    void showMessage(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon) override;
};
