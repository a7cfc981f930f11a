#pragma once

// The editor: its tool window, the brush, text and eyedropper tools on the picture area, the
// brush and text colour, and the undo history of committed edits.
//
// Strokes and text are drawn on the workspace's composition and become part of the picture
// through commitEdits(), which keeps the picture at its on-screen resolution. At most one tool
// is active, mirroring the tick of its box. The text tool releases the batch hotkeys while it
// is on (letters must reach the box) and gives them back when it is left.
//
// GUI thread only. The controller owns the tool window; the main window, the workspace
// controller and the links must outlive it.

#include "core/editor/EditHistory.h"

#include <QColor>
#include <QCursor>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPoint>

#include <memory>

class QCheckBox;
class QMouseEvent;

namespace portiqa {

class BrushTool;
class Dialogs;
class EditorWindow;
class MainWindow;
class PhotoWorkspace;
class TextTool;
class WorkspaceController;
struct FeatureLinks;

enum class EditorTool { None, Brush, Text, Eyedropper };

class EditorController : public QObject {
    Q_OBJECT
public:
    EditorController(MainWindow& window, WorkspaceController& workspace, FeatureLinks& links,
                     Dialogs& dialogs);
    ~EditorController() override;

    EditorWindow& toolWindow() const { return *toolWindow_; }
    TextTool& textTool() const { return *text_; }
    EditHistory& history() { return history_; }

    bool editorOpen() const { return open_; }
    EditorTool activeTool() const { return tool_; }
    bool brushActive() const { return tool_ == EditorTool::Brush; }
    bool textActive() const { return tool_ == EditorTool::Text; }
    bool eyedropperActive() const { return tool_ == EditorTool::Eyedropper; }
    bool strokeHeld() const;
    QColor colour() const { return colour_; }
    int brushWidth() const;

    // Toolbar 编辑 and menu 文件 → 编辑: shows or hides the tool window.
    void toggleEditor();
    // Writes a typed line into the picture before a workspace command; the tool stays on.
    void commitPendingText();
    // Drops a typed line (a new picture came in).
    void discardPendingText();
    // The save's first step: the text tool ends, its line written, the hotkeys given back.
    void finishTextForSave();
    // Right button on the picture area or the box: every tool is dropped.
    void endTools();
    // Puts the active tool's cursor back on the picture area; the text tool's I-beam only
    // when `withText` (a new picture; the layout leaves it).
    void reapplyCursor(bool withText = true);
    // A stroke whose release was not seen ends when the pointer moves over the main window,
    // its toolbar or status bar, or the tool window.
    void finishPendingStroke();
    // The brush and text colour everywhere: text, entry box, width bar, picker.
    void applyColour(const QColor& colour);
    // Right press on 文字选择框: choose the text font.
    void chooseFont();

    void undo();
    void redo();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void toolBoxClicked(EditorTool box, bool ticked);
    void setActive(EditorTool tool);
    void endTextTool();
    void restoreHotkeysInBatchMode();
    bool pointerEvent(QMouseEvent* event);
    void pickFromView(QPoint point);
    void commitEdits();
    void colourChosen(const QColor& colour);
    void widthChanged();
    void setAreaCursor(const QCursor& cursor);
    void focusPictureArea();
    void recomposeIfLoaded();
    void installHints();
    void watchMainWindowMoves();
    bool toolWindowHover(QObject* watched, QEvent* event);

    MainWindow& window_;
    WorkspaceController& workspace_;
    PhotoWorkspace& photo_;
    FeatureLinks& links_;
    Dialogs& dialogs_;
    EditorWindow* toolWindow_ = nullptr; // owned through the main window
    TextTool* text_ = nullptr;
    EditHistory history_;
    EditorTool tool_ = EditorTool::None;
    bool open_ = false;
    std::unique_ptr<BrushTool> brush_;
    QColor colour_ = Qt::black;
    int lastWidth_ = 1;
    QCursor brushCursor_;
    QCursor eyedropperCursor_;
    QHash<QObject*, QString> hints_;
    QList<QObject*> strokeEnders_;
    quint64 lastHintMove_ = 0;
};

} // namespace portiqa
