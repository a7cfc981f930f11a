#pragma once

// The program as it starts, with scripted dialogs and a picture shown at zoom 1, plus the
// pointer and key moves an operator makes on the editor's controls.

#include "core/editor/EditHistory.h"
#include "core/workspace/PhotoWorkspace.h"
#include "gui/app/FeatureLinks.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/EditorWindow.h"
#include "gui/editor/TextTool.h"
#include "gui/workspace/PictureAreaWidget.h"
#include "gui/workspace/WorkspaceController.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <memory>

namespace portiqa::test {

struct EditorFixture {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<PortiqaApp> app;
    int released = 0; // batch hotkeys given up
    int restored = 0; // and taken back
    bool batchMode = false;

    EditorFixture() {
        LaunchOptions options;
        options.settingsDir = dir.filePath(QStringLiteral("settings"));
        app = std::make_unique<PortiqaApp>(options, &dialogs);
        FeatureLinks& links = app->links();
        links.batchCropMode = [this] { return batchMode; };
        links.releaseBatchHotkeys = [this] { ++released; };
        links.restoreBatchHotkeys = [this] { ++restored; };
        app->start();
    }

    PhotoWorkspace& photo() { return app->workspace().workspace(); }
    EditorController& editor() { return app->editor(); }
    EditorWindow& tools() { return editor().toolWindow(); }
    PictureAreaWidget& area() { return *app->workspace().pictureArea(); }
    QLineEdit& entry() { return editor().textTool().entry(); }

    // A plain grey picture small enough to be shown at zoom 1.
    void showGreyPicture(QSize size = QSize(200, 150)) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(qRgb(128, 160, 192));
        photo().showNewPicture(picture);
    }
    void openEditor() {
        if (!editor().editorOpen()) {
            editor().toggleEditor();
        }
    }
    void tick(QCheckBox* box) { box->click(); }

    static void send(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
                     Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
    void press(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        send(&area(), QEvent::MouseButtonPress, at, button, button);
    }
    void moveHeld(QPoint at) { send(&area(), QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); }
    void hover(QWidget* widget, QPoint at) {
        send(widget, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    }
    void release(QPoint at) {
        send(&area(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    }
    void click(QPoint at) {
        press(at);
        release(at);
    }
    // The text tool's box placed at `at` with `text` typed into it.
    void typeLineAt(QPoint at, const QString& text) {
        if (!editor().textActive()) {
            tick(tools().textBox);
        }
        click(at);
        entry().setText(text);
    }
};

// The rectangle spanned by the pixels of `colour`, or a null rect.
inline QRect boundsOf(const QImage& image, QRgb colour) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

// The rectangle spanned by the pixels that differ between two pictures of one size.
inline QRect changedBounds(const QImage& before, const QImage& after) {
    QRect bounds;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (before.pixel(x, y) != after.pixel(x, y)) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

} // namespace portiqa::test
