#pragma once

// The editor's tool options: the brush and text colour (颜色选择器1, the colour chart, the
// eyedropper) and the brush width (线宽编辑框 and its up-down buttons), mirrored on the width
// bar, the text tool and its entry box.
//
// A half-typed width keeps the last usable one. Whenever the colour or the width changes, the
// reaction handed in runs, so the active brush can show its outline anew.
//
// GUI thread only; the tool window and the text tool must outlive it.

#include <QColor>
#include <QObject>

#include <functional>

namespace portiqa {

class EditorWindow;
class TextTool;

class EditorToolOptions : public QObject {
    Q_OBJECT
public:
    EditorToolOptions(EditorWindow& tools, TextTool& text, std::function<void()> brushLookChanged,
                      QObject* parent = nullptr);

    QColor colour() const { return colour_; }
    int brushWidth() const;

    // The brush and text colour everywhere: text, entry box, width bar.
    void applyColour(const QColor& colour);
    // A colour read from the picture (the eyedropper): into the picker, then applied.
    void pickColour(const QColor& colour);

private:
    void colourChosen(const QColor& colour);
    void widthChanged();

    EditorWindow& tools_;
    TextTool& text_;
    std::function<void()> brushLookChanged_;
    QColor colour_ = Qt::black;
    int lastWidth_ = 1;
};

} // namespace portiqa
