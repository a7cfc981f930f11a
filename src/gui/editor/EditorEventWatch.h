#pragma once

// What the editor hears from windows it does not own: the hover hints of its tool window, the
// right button on the text-entry box (every tool ends) and on 文字 (the font dialog), and the
// pointer moving over the main window's client area, toolbar or status bar, or over the tool
// window, which ends a stroke whose release went elsewhere.
//
// It only listens and calls the reactions it is given; it owns nothing. GUI thread only; the
// windows must outlive it.

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QLineEdit;

namespace portiqa {

class EditorWindow;
class MainWindow;

class EditorEventWatch : public QObject {
    Q_OBJECT
public:
    struct Reactions {
        std::function<void()> finishPendingStroke;
        std::function<void()> endTools;
        std::function<void()> chooseFont;
    };

    EditorEventWatch(MainWindow& window, EditorWindow& tools, QLineEdit& entry, Reactions reactions,
                     QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void installHints();
    void watchMainWindowMoves();
    bool toolWindowHover(QObject* watched, QEvent* event);

    MainWindow& window_;
    EditorWindow& tools_;
    QLineEdit& entry_;
    Reactions reactions_;
    QHash<QObject*, QString> hints_;
    QList<QObject*> strokeEnders_;
    quint64 lastHintMove_ = 0;
};

} // namespace portiqa
