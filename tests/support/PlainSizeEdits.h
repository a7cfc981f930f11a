#pragma once

// Output-size edits without a window: plain texts that the settings code reads and writes.

#include "core/workspace/OutputSizeEdits.h"

#include <QString>

namespace portiqa::test {

struct PlainSizeEdits final : OutputSizeEdits {
    PlainSizeEdits(QString widthText = QStringLiteral("160"),
                   QString heightText = QStringLiteral("210"),
                   QString limitText = QStringLiteral("500"))
        : width(std::move(widthText)), height(std::move(heightText)), limit(std::move(limitText)) {}

    QString width;
    QString height;
    QString limit;
    QString widthText() const override { return width; }
    QString heightText() const override { return height; }
    QString sizeLimitText() const override { return limit; }
    void setWidthText(const QString& t) override { width = t; }
    void setHeightText(const QString& t) override { height = t; }
    void setSizeLimitText(const QString& t) override { limit = t; }
};

} // namespace portiqa::test
