#include "gui/editor/EditCommits.h"

#include "core/dialogs/Dialogs.h"
#include "core/workspace/PhotoWorkspace.h"

#include <QApplication>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace portiqa {

namespace {

const QString kCaption = QStringLiteral("提示");

} // namespace

QString EditCommits::refusedMessage() {
    return QStringLiteral("图片放大后太大，编辑无法写入图片。请缩小图片后再编辑。");
}

QString EditCommits::notUndoableMessage() {
    return QStringLiteral("图片太大，无法保留撤消记录：这一步编辑及之前的编辑都将不能撤消。");
}

EditCommits::EditCommits(PhotoWorkspace& photo, Dialogs& dialogs, QObject* parent)
    : QObject(parent), photo_(photo), dialogs_(dialogs) {
    photo_.setLongWorkWait(&EditCommits::waitHoldingInput);
    // A new or turned picture starts a history of its own.
    connect(&photo_, &PhotoWorkspace::newPictureShown, this, [this] { history_.clear(); });
    connect(&photo_, &PhotoWorkspace::pictureTurned, this, [this] { history_.clear(); });
}

EditCommits::~EditCommits() {
    photo_.setLongWorkWait({});
}

void EditCommits::waitHoldingInput(const QFuture<PicturePyramidPtr>& job) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QEventLoop loop;
    QFutureWatcher<PicturePyramidPtr> watcher;
    connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(job); // a job already done still reports it, through the loop
    // Painting and timers go on; key presses, clicks and moves wait for the next loop that
    // takes them. A quit of the program ends this loop early: the caller waits on then.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    QApplication::restoreOverrideCursor();
}

void EditCommits::commit() {
    if (!photo_.pictureLoaded()) {
        return;
    }
    if (!photo_.canCommit()) {
        // Show what the picture really holds rather than an edit that was not kept.
        photo_.redrawWorkspace();
        dialogs_.inform(kCaption, refusedMessage(), MessageIcon::Warning);
        return;
    }
    if (!history_.canKeep(photo_.commitStepBytes())) {
        dialogs_.inform(kCaption, notUndoableMessage(), MessageIcon::Information);
    }
    const quint64 generation = photo_.pictureGeneration();
    EditStep replaced;
    if (photo_.commitEdits(&replaced)) {
        history_.recordEdit(std::move(replaced));
        return;
    }
    if (photo_.pictureGeneration() == generation) { // not a picture that came in meanwhile
        photo_.redrawWorkspace();
        dialogs_.inform(kCaption, refusedMessage(), MessageIcon::Warning);
    }
}

void EditCommits::undo() {
    if ((strokeHeld_ && strokeHeld_()) || !photo_.pictureLoaded()) {
        return;
    }
    history_.undo([this](EditStep& step) { return photo_.exchangeEdit(step); });
}

void EditCommits::redo() {
    if ((strokeHeld_ && strokeHeld_()) || !photo_.pictureLoaded()) {
        return;
    }
    history_.redo([this](EditStep& step) { return photo_.exchangeEdit(step); });
}

void EditCommits::addKeysTo(QWidget* mainWindow) {
    auto* undoKey = new QShortcut(QKeySequence::Undo, mainWindow);
    connect(undoKey, &QShortcut::activated, this, &EditCommits::undo);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}) {
        auto* redoKey = new QShortcut(keys, mainWindow);
        connect(redoKey, &QShortcut::activated, this, &EditCommits::redo);
    }
}

} // namespace portiqa
