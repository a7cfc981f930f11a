#pragma once

// The program's own help window: the carried HTML help page in a text browser, for machines
// where the desktop cannot open it (no launcher such as xdg-open, a minimal or kiosk install).
// Links inside the page move within it; links to other sites go to the desktop's browser.

#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace portiqa {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // A separate top-level window; `owner` deletes it.
    explicit HelpWindow(QWidget* owner);

    // Shows `page` (a local file or a qrc: address); the window title is the page's title.
    void showPage(const QUrl& page);

    QTextBrowser& browser() const { return *browser_; }

private:
    QTextBrowser* browser_;
};

} // namespace portiqa
