#include "support/ClippedTexts.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QToolButton>

namespace portiqa::test {

namespace {

QString plain(QString text) {
    text.remove(QLatin1Char('&'));
    return text;
}

void check(QStringList& found, const QWidget& widget, const QString& text, int needs, int has) {
    if (needs > has) {
        found << QStringLiteral("%1 \"%2\": needs %3 px, has %4")
                     .arg(widget.objectName().isEmpty()
                              ? QString::fromLatin1(widget.metaObject()->className())
                              : widget.objectName(),
                          text)
                     .arg(needs)
                     .arg(has);
    }
}

int advance(const QWidget& widget, const QString& text) {
    return widget.fontMetrics().horizontalAdvance(plain(text));
}

// The room for the label of a check box or radio button: the widget less its indicator.
int buttonTextRoom(const QAbstractButton& button, bool radio) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const QRect text = button.style()->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, &button);
    return text.width() - 2; // the focus frame's inset
}

} // namespace

QStringList clippedTexts(const QWidget& window) {
    QStringList found;
    QList<const QWidget*> widgets{&window};
    for (const QWidget* child : window.findChildren<QWidget*>()) {
        widgets << child;
    }
    for (const QWidget* widget : widgets) {
        if (!widget->isVisibleTo(&window) && widget != &window) {
            continue;
        }
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            if (!label->wordWrap() && !label->text().isEmpty() &&
                label->textFormat() != Qt::RichText && !label->text().contains(QLatin1Char('\n'))) {
                check(found, *label, label->text(), advance(*label, label->text()),
                      label->contentsRect().width() - 2 * label->margin() - label->indent() * 0);
            }
        } else if (const auto* box = qobject_cast<const QCheckBox*>(widget)) {
            check(found, *box, box->text(), advance(*box, box->text()),
                  buttonTextRoom(*box, false));
        } else if (const auto* radio = qobject_cast<const QRadioButton*>(widget)) {
            check(found, *radio, radio->text(), advance(*radio, radio->text()),
                  buttonTextRoom(*radio, true));
        } else if (const auto* push = qobject_cast<const QPushButton*>(widget)) {
            if (!push->text().contains(QLatin1Char('\n'))) {
                const int frame =
                    push->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, push);
                const int icon = push->icon().isNull() ? 0 : push->iconSize().width() + 4;
                check(found, *push, push->text(), advance(*push, push->text()) + icon,
                      push->width() - frame);
            }
        } else if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
            if (!group->title().isEmpty()) {
                check(found, *group, group->title(), advance(*group, group->title()),
                      group->width() - 8);
            }
        } else if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
            if (combo->isEditable()) {
                continue;
            }
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.editable = false;
            const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                               QStyle::SC_ComboBoxEditField, combo);
            for (int i = 0; i < combo->count(); ++i) {
                check(found, *combo, combo->itemText(i), advance(*combo, combo->itemText(i)),
                      field.width());
            }
        }
    }
    return found;
}

} // namespace portiqa::test
