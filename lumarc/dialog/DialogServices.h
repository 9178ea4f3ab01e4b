#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// What a file dialog is asked to show.
struct FileDialogRequest
{
    QString title;
    QStringList nameFilters; // e.g. "MDF Files (*.mdf)", in the order shown
    QString defaultSuffix;   // added to a typed name without one
};

enum class MessageIcon
{
    None,
    Error,
};

// The modal questions the dialog asks its user. The dialog calls only these,
// so tests can answer them without anyone at the screen.
class DialogServices
{
public:
    virtual ~DialogServices() = default;

    // An existing file to read; nullopt when the user cancels.
    [[nodiscard]] virtual std::optional<QString> openFileName(QWidget* parent,
                                                              const FileDialogRequest& request) = 0;
    // A file to write, after asking before an existing one is replaced;
    // nullopt when the user cancels.
    [[nodiscard]] virtual std::optional<QString> saveFileName(QWidget* parent,
                                                              const FileDialogRequest& request) = 0;
    // A message box with an OK button only; returns when it is dismissed.
    virtual void showMessage(QWidget* parent, const QString& text, const QString& caption,
                             MessageIcon icon) = 0;
};
