#pragma once

// The 排版打印 window's live picture of the sheet: the paper drawn by SheetRenderer at
// whatever resolution fits it into the widget, on a grey ground. The same drawing the printer
// and the files get, only smaller. Redrawn when the sheet or the widget's size changes.

#include "core/print/SheetRenderer.h"

#include <QImage>
#include <QWidget>

#include <optional>

namespace portiqa {

class SheetPreview final : public QWidget {
    Q_OBJECT
public:
    explicit SheetPreview(QWidget* parent = nullptr);

    void setSheet(const SheetRenderer& sheet);
    // The paper's rectangle in widget coordinates (for tests and the hover hint).
    QRect paperRect() const { return paperRect_; }

    QSize sizeHint() const override { return {420, 360}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void renderSheet();

    std::optional<SheetRenderer> sheet_;
    QImage rendered_;
    QRect paperRect_;
};

} // namespace portiqa
