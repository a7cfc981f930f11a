#pragma once

// Everything that asks the operator something goes through this interface: message boxes,
// file and folder choosers, colour and font choosers. The program uses the Qt dialogs
// (gui/app/QtDialogs); tests use a scripted answerer and assert captions, texts and icons.

#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

namespace portiqa {

enum class MessageIcon { None, Information, Warning, Critical, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct SaveFileRequest {
    QString title;
    QString folder;        // starting folder
    QString defaultSuffix; // added when the typed name has none, without the dot ("jpg")
    QString filter;        // Qt filter text, for example "JPG文件 (*.jpg)"
    bool confirmOverwrite = true;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message box; returns the button pressed (Ok for an OK-only box).
    virtual MessageAnswer message(const QString& caption, const QString& text, MessageIcon icon,
                                  MessageButtons buttons) = 0;

    // Shorthand for an OK-only box.
    void inform(const QString& caption, const QString& text,
                MessageIcon icon = MessageIcon::Information) {
        message(caption, text, icon, MessageButtons::Ok);
    }
    // Shorthand for a Yes/No question; true for Yes.
    bool ask(const QString& caption, const QString& text,
             MessageIcon icon = MessageIcon::Question) {
        return message(caption, text, icon, MessageButtons::YesNo) == MessageAnswer::Yes;
    }

    // A message that does not wait for the operator: the program goes on while it shows, and
    // closeNotice() (or the next notice) takes it away, so a message about a picture does
    // not stay up once the operator has moved on to another one. Where no such box can be
    // made it is an ordinary message.
    virtual void showNotice(const QString& caption, const QString& text, MessageIcon icon) {
        inform(caption, text, icon);
    }
    virtual void closeNotice() {}

    // The chosen file's full path, or an empty text when cancelled.
    virtual QString openFile(const QString& title, const QString& folder,
                             const QString& filter) = 0;
    virtual QString saveFile(const SaveFileRequest& request) = 0;
    // The chosen folder, or an empty text when cancelled.
    virtual QString chooseFolder(const QString& title, const QString& startFolder) = 0;
    virtual std::optional<QColor> chooseColour(const QColor& initial) = 0;
    virtual std::optional<QFont> chooseFont(const QFont& initial) = 0;
};

} // namespace portiqa
