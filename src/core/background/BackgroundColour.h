#pragma once

// The colour a framed picture's background is replaced with: none, or one RGB colour. Stored
// as "" (none) or "#RRGGBB".

#include <QRgb>
#include <QString>

#include <optional>

namespace portiqa {

struct BackgroundColour {
    std::optional<QRgb> colour; // none: the background stays as it is

    bool replaces() const { return colour.has_value(); }

    static BackgroundColour white() { return {qRgb(255, 255, 255)}; }
    static BackgroundColour blue() { return {qRgb(67, 142, 219)}; }
    static BackgroundColour red() { return {qRgb(255, 0, 0)}; }

    // "" for none, "#RRGGBB" (upper case) otherwise.
    QString stored() const;
    // The stored form read back; nothing for a value that is neither "" nor "#RRGGBB".
    static std::optional<BackgroundColour> fromStored(const QString& text);
    // What the status hint and the menu call it: "白色", "蓝色", "红色" or "#RRGGBB".
    QString name() const;

    friend bool operator==(const BackgroundColour& a, const BackgroundColour& b) {
        return a.colour == b.colour;
    }
};

} // namespace portiqa
