#include "support/ScriptedDialogs.h"

namespace portiqa::test {

namespace {

template <typename T, typename D> T takeOr(std::deque<T>& queue, D fallback) {
    if (queue.empty()) {
        return T(fallback);
    }
    T value = queue.front();
    queue.pop_front();
    return value;
}

} // namespace

MessageAnswer ScriptedDialogs::message(const QString& caption, const QString& text,
                                       MessageIcon icon, MessageButtons buttons) {
    messages.append({caption, text, icon, buttons});
    const MessageAnswer fallback =
        buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    const MessageAnswer answer = takeOr(answers, fallback);
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    return answer == MessageAnswer::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

void ScriptedDialogs::showNotice(const QString& caption, const QString& text, MessageIcon icon) {
    messages.append({caption, text, icon, MessageButtons::Ok});
    noticeOpen = true;
}

QString ScriptedDialogs::openFile(const QString& title, const QString& folder,
                                  const QString& filter) {
    openTitles.append(title);
    openFolders.append(folder);
    openFilters.append(filter);
    return takeOr(files, QString());
}

QString ScriptedDialogs::saveFile(const SaveFileRequest& request) {
    saveRequests.append(request);
    return takeOr(files, QString());
}

QString ScriptedDialogs::chooseFolder(const QString& title, const QString&) {
    folderTitles.append(title);
    return takeOr(folders, QString());
}

std::optional<QColor> ScriptedDialogs::chooseColour(const QColor& initial) {
    colourStarts.append(initial);
    return takeOr(colours, std::nullopt);
}

std::optional<QFont> ScriptedDialogs::chooseFont(const QFont&) {
    return takeOr(fonts, std::nullopt);
}

} // namespace portiqa::test
