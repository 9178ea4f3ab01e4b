// Answers the dialog's file dialogs and message boxes from a script and keeps
// a log of what was asked, in order.
#pragma once

#include "DialogServices.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

class ScriptedServices final : public DialogServices
{
public:
    // Answers in the order asked; when they run out, the user cancels.
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    // Run while the file dialog or message box is "open".
    std::function<void()> whileOpenDialog;
    std::function<void()> whileSaveDialog;
    std::function<void()> whileMessage;

    // "open: TITLE", "save: TITLE", "CAPTION: TEXT" (+ " [error]" with the error icon)
    QStringList log;
    std::vector<FileDialogRequest> requests;

    std::optional<QString> openFileName(QWidget*, const FileDialogRequest& request) override
    {
        return answer("open: ", request, openAnswers, whileOpenDialog);
    }
    std::optional<QString> saveFileName(QWidget*, const FileDialogRequest& request) override
    {
        return answer("save: ", request, saveAnswers, whileSaveDialog);
    }
    void showMessage(QWidget*, const QString& text, const QString& caption, MessageIcon icon) override
    {
        log << caption + ": " + text + (icon == MessageIcon::Error ? " [error]" : "");
        if (whileMessage)
            whileMessage();
    }

private:
    std::optional<QString> answer(const QString& kind, const FileDialogRequest& request,
                                  std::deque<std::optional<QString>>& answers,
                                  const std::function<void()>& during)
    {
        log << kind + request.title;
        requests.push_back(request);
        if (during)
            during();
        if (answers.empty())
            return std::nullopt;
        std::optional<QString> next = answers.front();
        answers.pop_front();
        return next;
    }
};
