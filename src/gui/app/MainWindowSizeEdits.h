#pragma once

// The main window's width, height and size-limit edits seen as texts to read and put back.
// Putting a text back acts as the operator's typing does: the output size and the frame
// follow at once.

#include "core/workspace/OutputSizeEdits.h"

namespace portiqa {

struct MainControls;

class MainWindowSizeEdits final : public OutputSizeEdits {
public:
    explicit MainWindowSizeEdits(const MainControls& controls) : controls_(controls) {}

    QString widthText() const override;
    QString heightText() const override;
    QString sizeLimitText() const override;
    void setWidthText(const QString& text) override;
    void setHeightText(const QString& text) override;
    void setSizeLimitText(const QString& text) override;

private:
    const MainControls& controls_;
};

} // namespace portiqa
