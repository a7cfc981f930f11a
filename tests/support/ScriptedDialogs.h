#pragma once

// A Dialogs that answers from a script and records every question, so tests can assert the
// exact captions, texts, icons and buttons the program shows.

#include "core/dialogs/Dialogs.h"

#include <QList>
#include <QStringList>

#include <deque>

namespace portiqa::test {

struct ShownMessage {
    QString caption;
    QString text;
    MessageIcon icon;
    MessageButtons buttons;
};

class ScriptedDialogs : public Dialogs {
public:
    // Answers used in order; when a queue is empty: Ok / No for messages, cancel elsewhere.
    std::deque<MessageAnswer> answers;
    std::deque<QString> files;   // open and save dialogs
    std::deque<QString> folders; // folder dialogs
    std::deque<std::optional<QColor>> colours;
    std::deque<std::optional<QFont>> fonts;

    QList<ShownMessage> messages;
    QList<SaveFileRequest> saveRequests;
    QStringList openTitles;
    QStringList openFolders; // the starting folder of each open dialog
    QStringList openFilters;
    QList<QColor> colourStarts; // the colour each colour dialog started from
    QStringList folderTitles;

    MessageAnswer message(const QString& caption, const QString& text, MessageIcon icon,
                          MessageButtons buttons) override;
    // A notice is kept in `messages` like any message; `noticeOpen` says whether it still
    // shows.
    void showNotice(const QString& caption, const QString& text, MessageIcon icon) override;
    void closeNotice() override { noticeOpen = false; }
    bool noticeOpen = false;
    QString openFile(const QString& title, const QString& folder, const QString& filter) override;
    QString saveFile(const SaveFileRequest& request) override;
    QString chooseFolder(const QString& title, const QString& startFolder) override;
    std::optional<QColor> chooseColour(const QColor& initial) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;

    // The text of the last message, or empty when none was shown.
    QString lastText() const { return messages.isEmpty() ? QString() : messages.last().text; }
};

} // namespace portiqa::test
