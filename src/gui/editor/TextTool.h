#pragma once

// The text tool's entry box (文字输入编辑框): a borderless edit inside the picture area where
// the operator types one line, and the writing of that line onto the workspace's composition.
//
// The box is placed by a click, grows with its text, and Enter writes the line, commits it and
// moves the box one line down. The line is drawn at (box left, box top + 3), where the box
// showed it, in the text font and colour on a transparent background. An empty line writes
// and commits nothing, so the picture is not resampled for nothing.
//
// The commit itself belongs to the editor (it records the undo level): it is handed in, with
// the wait for a picture still loading that must come before anything is drawn (a load that
// ends drops the line instead).

#include <QColor>
#include <QFont>
#include <QObject>
#include <QSize>

#include <functional>

class QLineEdit;

namespace portiqa {

class PhotoWorkspace;

class TextTool : public QObject {
    Q_OBJECT
public:
    TextTool(QLineEdit& entry, PhotoWorkspace& workspace, std::function<void()> waitForPicture,
             std::function<void()> commitEdits, QObject* parent = nullptr);

    QLineEdit& entry() const { return entry_; }
    bool boxVisible() const;
    QFont font() const { return font_; }
    QSize characterCell() const { return cell_; }
    QColor colour() const { return colour_; }

    // Draws the box's text onto the composition (nothing for an empty box).
    void writeBoxText();
    // Hides the box and, when it holds text, writes it, empties the box and commits.
    void commitPending();
    // Hides and empties the box without writing (a new picture replaced the old one).
    void discard();
    // A left-button release with the text tool at `click`: a visible box's line is written
    // first; then the empty box moves there, shows and takes the keyboard focus.
    void placeAt(QPoint click);
    // Enter in the box.
    void enterPressed();

    void setFont(const QFont& font);
    void setColour(const QColor& colour);

signals:
    // The box appeared at a click (the status hint is emptied then).
    void placed();

private:
    void fitWidth();
    // Waits for a loading picture; true when the box still holds a line to write.
    bool lineReady();
    void applyPalette();

    QLineEdit& entry_;
    PhotoWorkspace& workspace_;
    std::function<void()> waitForPicture_;
    std::function<void()> commitEdits_;
    QFont font_;
    QSize cell_;
    QColor colour_ = Qt::black;
};

} // namespace portiqa
