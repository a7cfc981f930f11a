#pragma once

// What the headless commands answer when core code asks the operator something: messages go
// to standard error as lines, questions are answered No and every chooser is cancelled, so a
// command never waits for a person.

#include "core/dialogs/Dialogs.h"

#include <cstdio>

namespace portiqa {

class ConsoleDialogs final : public Dialogs {
public:
    explicit ConsoleDialogs(std::FILE* stream) : stream_(stream) {}

    MessageAnswer message(const QString& caption, const QString& text, MessageIcon,
                          MessageButtons buttons) override {
        std::fprintf(stream_, "%s %s\n", caption.toUtf8().constData(), text.toUtf8().constData());
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const SaveFileRequest&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    std::optional<QColor> chooseColour(const QColor&) override { return std::nullopt; }
    std::optional<QFont> chooseFont(const QFont&) override { return std::nullopt; }

private:
    std::FILE* stream_;
};

} // namespace portiqa
