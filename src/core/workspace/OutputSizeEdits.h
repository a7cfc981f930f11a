#pragma once

// The main window's three output-size edits (width, height, JPEG size limit in KB) as the
// settings file sees them: texts to read and to put back. Setting a text must act as if the
// operator had typed it, so the output size and the frame follow. The main window implements
// this over its edits; tests use a plain struct.

#include <QString>

namespace portiqa {

class OutputSizeEdits {
public:
    virtual ~OutputSizeEdits() = default;

    virtual QString widthText() const = 0;
    virtual QString heightText() const = 0;
    virtual QString sizeLimitText() const = 0;

    virtual void setWidthText(const QString& text) = 0;
    virtual void setHeightText(const QString& text) = 0;
    virtual void setSizeLimitText(const QString& text) = 0;
};

} // namespace portiqa
