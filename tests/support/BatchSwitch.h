#pragma once

// The batch crop tick box at the status bar's right end ("使用批量截图模式"), pressed as an
// operator presses it.

#include "gui/app/StatusBarWidget.h"

#include <QTest>

namespace portiqa::test {

inline void pressBatchSwitch(StatusBarWidget& bar) {
    QTest::mousePress(&bar, Qt::LeftButton, {},
                      QPoint(bar.effectiveWidth() - 45, bar.height() / 2));
}

} // namespace portiqa::test
