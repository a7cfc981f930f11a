#pragma once

// The capture settings group's size fields: the size type list, the width and height edits
// with their up-down buttons, and the JPEG size limit with its stepper. Writing a text into an
// edit runs its handler at once (textChanged), also when the program writes it; the steps
// below rely on that, as the operator's typing does.

#include "core/workspace/OutputSpec.h"

#include <QObject>
#include <QSize>

#include <functional>

namespace portiqa {

class MainWindow;

struct OutputSizeHooks {
    // Writes a pending text of the editor's text tool into the picture first.
    std::function<void()> commitPendingText = [] {};
    // The frame takes a new usable size and keeps its top-left corner.
    std::function<void(QSize)> resizeFrame;
    std::function<bool()> pictureLoaded = [] { return false; };
    std::function<void()> recomposeView = [] {};
    // The camera window (when open) follows a new width (true) or height (false).
    std::function<void(bool width)> outputSizeChanged = [](bool) {};
    // The width or height edit's text changed; settings that keep it store it.
    std::function<void(const QString& key, const QString& text)> sizeTextChanged = [](auto&&,
                                                                                      auto&&) {};
    // A normalised size limit; settings that keep it store its text.
    std::function<void(const QString& text)> sizeLimitChanged = [](auto&&) {};
};

class OutputSizeController : public QObject {
    Q_OBJECT
public:
    OutputSizeController(MainWindow& window, OutputSpec& output, OutputSizeHooks hooks);

    void applySizeType(int index);
    void applyOutputWidth();
    void applyOutputHeight();
    void stepOutputSide(bool width, int step);
    void normaliseSizeLimit();
    void stepSizeLimit(int step);

private:
    void applySide(bool width);
    void growWindowFor(bool width);
    void markCustom();

    MainWindow& window_;
    OutputSpec& output_;
    OutputSizeHooks hooks_;
    QSize frameSize_;
};

} // namespace portiqa
