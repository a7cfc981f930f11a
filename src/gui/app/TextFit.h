#pragma once

// Texts that must fit a control of fixed size. The windows keep the geometry they were
// designed with; where a text in the program's font is a few pixels wider than its control
// (the size-type list's "学籍/身份证" in a 72-pixel box), the control draws it slightly
// condensed rather than cut off.

class QAbstractButton;
class QComboBox;

namespace portiqa::textfit {

// The narrowest the program draws a text: 70 % of its width.
inline constexpr int MinimumStretch = 70;

// The closed box shows every item whole; its drop-down list keeps the full-width font.
void fitItems(QComboBox& box);
// A check box or radio button shows its text whole beside its indicator.
void fitLabel(QAbstractButton& button);

} // namespace portiqa::textfit
