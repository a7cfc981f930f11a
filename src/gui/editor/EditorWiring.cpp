#include "gui/editor/EditorWiring.h"

#include "gui/app/AppCommands.h"
#include "gui/app/FeatureLinks.h"
#include "gui/app/MainWindow.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/EditorWindow.h"
#include "gui/editor/TextTool.h"
#include "gui/workspace/WorkspaceController.h"

namespace portiqa {

EditorController* connectEditor(MainWindow& window, WorkspaceController& workspace,
                                AppCommands& commands, FeatureLinks& links, Dialogs& dialogs) {
    auto* editor = new EditorController(window, workspace, links, dialogs);
    links.commitPendingText = [editor] { editor->commitPendingText(); };
    links.discardPendingText = [editor] { editor->discardPendingText(); };
    links.reapplyEditorCursor = [editor] { editor->reapplyCursor(true); };
    links.finishTextForSave = [editor] { editor->finishTextForSave(); };
    links.dropEditorTools = [editor] { editor->endTools(); };
    // Zoom, scroll, frame moves and the frame colour commit a typed line first.
    workspace.workspace().setPendingTextCommit([editor] { editor->commitPendingText(); });
    commands.setEditorToggle([editor] { editor->toggleEditor(); });
    window.hintSources().textEntryVisible = [editor] { return editor->textTool().boxVisible(); };
    window.lifecycleSteps().loadEditorToolWindow = [editor, &window] {
        editor->toolWindow().followMainWindow(window.pos());
    };
    return editor;
}

} // namespace portiqa
