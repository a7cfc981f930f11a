#include "gui/app/HelpWindow.h"

#include <QTextBrowser>
#include <QVBoxLayout>

namespace portiqa {

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window), browser_(new QTextBrowser) {
    setObjectName(QStringLiteral("帮助窗口"));
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(780, 620);
    connect(browser_, &QTextBrowser::sourceChanged, this,
            [this] { setWindowTitle(browser_->documentTitle()); });
}

void HelpWindow::showPage(const QUrl& page) {
    browser_->setSource(page);
    setWindowTitle(browser_->documentTitle());
    show();
    raise();
    activateWindow();
}

} // namespace portiqa
