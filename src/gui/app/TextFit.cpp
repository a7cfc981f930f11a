#include "gui/app/TextFit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

#include <algorithm>

namespace portiqa::textfit {

namespace {

// The widget's font condensed just enough for `widest` pixels of text to take `room`.
void condense(QWidget& widget, int widest, int room) {
    QFont font = widget.font();
    font.setStretch(QFont::Unstretched);
    if (widest <= room || room <= 0) {
        widget.setFont(font);
        return;
    }
    // Rounded down: glyph advances round up at the smaller size.
    const int stretch = std::max(MinimumStretch, 100 * room / widest - 1);
    font.setStretch(stretch);
    widget.setFont(font);
}

} // namespace

void fitItems(QComboBox& box) {
    const QFont listFont = box.font();
    QStyleOptionComboBox option;
    option.initFrom(&box);
    const QRect field = box.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                    QStyle::SC_ComboBoxEditField, &box);
    const QFontMetrics metrics(listFont);
    int widest = 0;
    for (int i = 0; i < box.count(); ++i) {
        widest = std::max(widest, metrics.horizontalAdvance(box.itemText(i)));
    }
    condense(box, widest, field.width());
    box.view()->setFont(listFont);
}

void fitLabel(QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const bool check = qobject_cast<QCheckBox*>(&button) != nullptr;
    const QRect text = button.style()->subElementRect(
        check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, &button);
    QFont font = button.font();
    font.setStretch(QFont::Unstretched);
    const int widest = QFontMetrics(font).horizontalAdvance(button.text());
    condense(button, widest, text.width() - 2);
}

} // namespace portiqa::textfit
