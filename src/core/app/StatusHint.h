#pragma once

// The text of the main status bar's first panel. Every hint change in the program goes
// through set(): the panel is written only when the text really changes, so moving the mouse
// over one control does not repaint the bar on every move.

#include <QString>

#include <functional>

namespace portiqa {

class StatusHint {
public:
    using Writer = std::function<void(const QString&)>;

    explicit StatusHint(Writer writer) : writer_(std::move(writer)) {}

    // Stores and shows `text` if it differs from the current hint; true when it wrote.
    bool set(const QString& text);
    const QString& text() const { return text_; }

private:
    Writer writer_;
    QString text_;
};

} // namespace portiqa
