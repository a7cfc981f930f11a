#pragma once

// The editor: its tool window and the brush, text and eyedropper tools on the picture area.
//
// At most one tool is active, mirroring the tick of its box. Strokes and text are drawn on the
// workspace's composition and become part of the picture through EditCommits, which keeps the
// undo history. The text tool releases the batch hotkeys while it is on (letters must reach
// the box) and gives them back when it is left. The colour and the brush width live in
// EditorToolOptions; the hints and the moves that end a stroke elsewhere in EditorEventWatch.
//
// GUI thread only. The controller owns the tool window (through the main window) and its
// helpers; the main window, the workspace controller and the links must outlive it.

#include <QColor>
#include <QCursor>
#include <QObject>
#include <QPoint>

#include <memory>

class QMouseEvent;

namespace portiqa {

class BrushTool;
class Dialogs;
class EditCommits;
class EditHistory;
class EditorToolOptions;
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
    EditHistory& history();

    bool editorOpen() const { return open_; }
    EditorTool activeTool() const { return tool_; }
    bool brushActive() const { return tool_ == EditorTool::Brush; }
    bool textActive() const { return tool_ == EditorTool::Text; }
    bool eyedropperActive() const { return tool_ == EditorTool::Eyedropper; }
    bool strokeHeld() const;
    QColor colour() const;
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

private:
    void toolBoxClicked(EditorTool box, bool ticked);
    void setActive(EditorTool tool);
    void endTextTool();
    void restoreHotkeysInBatchMode();
    bool pointerEvent(QMouseEvent* event);
    void pickFromView(QPoint point);
    void setAreaCursor(const QCursor& cursor);
    void focusPictureArea();
    void recomposeIfLoaded();
    void connectWindows();

    MainWindow& window_;
    WorkspaceController& workspace_;
    PhotoWorkspace& photo_;
    FeatureLinks& links_;
    Dialogs& dialogs_;
    EditorWindow* toolWindow_ = nullptr; // owned through the main window
    TextTool* text_ = nullptr;
    EditCommits* commits_ = nullptr;
    EditorToolOptions* options_ = nullptr;
    std::unique_ptr<BrushTool> brush_;
    EditorTool tool_ = EditorTool::None;
    bool open_ = false;
    QCursor brushCursor_;
    QCursor eyedropperCursor_;
};

} // namespace portiqa
