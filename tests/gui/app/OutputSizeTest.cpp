#include "MainWindowFixture.h"

#include "gui/app/OutputSizeController.h"
#include "gui/app/UpDownEdit.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QScreen>
#include <QTest>
#include <QToolButton>

using namespace portiqa;

namespace {

struct SizeFields : test::StartedMainWindow {
    OutputSpec output;
    OutputSizeController* controller = nullptr;
    int recomposes = 0;
    QStringList storedLimits;

    SizeFields() {
        OutputSizeHooks hooks;
        hooks.resizeFrame = [this](QSize size) { window->controls().capturePanel->resize(size); };
        hooks.pictureLoaded = [] { return true; };
        hooks.recomposeView = [this] { ++recomposes; };
        hooks.sizeLimitChanged = [this](const QString& text) { storedLimits << text; };
        controller = new OutputSizeController(*window, output, std::move(hooks));
        window->show();
    }
    const MainControls& c() const { return window->controls(); }
};

} // namespace

TEST(OutputSizes, SizeLimitIsNormalisedAsTyped) {
    SizeFields f;
    const struct {
        const char* typed;
        const char* shown;
        double limit;
    } cases[] = {
        {"3 0", "30", 30}, {"0500", "500", 500}, {"20.5", "20.5", 20.5}, {"abc", "50", 50},
        {"-5", "50", 50},  {"", "50", 50},       {"1e3", "1", 1},        {"５００", "500", 500},
    };
    for (const auto& c : cases) {
        f.c().sizeLimitEdit->setText(QString::fromUtf8(c.typed));
        EXPECT_EQ(f.c().sizeLimitEdit->text(), QString::fromUtf8(c.shown)) << c.typed;
        EXPECT_DOUBLE_EQ(f.output.sizeLimitKb, c.limit) << c.typed;
        EXPECT_EQ(f.storedLimits.last(), QString::fromUtf8(c.shown)) << c.typed;
    }
}

TEST(OutputSizes, SizeLimitSteps) {
    SizeFields f;
    const struct {
        const char* before;
        int step;
        const char* after;
    } cases[] = {{"1", -1, "50"},
                 {"1.5", -1, "500"},
                 {"", +1, "1"},
                 {"30.5", +1, "31.5"},
                 {"500", -1, "499"}};
    for (const auto& c : cases) {
        f.c().sizeLimitEdit->blockSignals(true);
        f.c().sizeLimitEdit->setText(QString::fromUtf8(c.before));
        f.c().sizeLimitEdit->blockSignals(false);
        emit f.c().sizeLimitStepper->stepped(c.step);
        EXPECT_EQ(f.c().sizeLimitEdit->text(), QString::fromUtf8(c.after)) << c.before;
    }
}

TEST(OutputSizes, EveryStepperButtonIsOnTopAndStepsWhenClicked) {
    SizeFields f;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.window.get()));
    const struct {
        UpDownEdit* stepper;
        QLineEdit* edit;
        const char* afterUp;
    } cases[] = {{f.c().widthEdit, f.c().widthEdit, "161"},
                 {f.c().heightEdit, f.c().heightEdit, "211"},
                 {f.c().sizeLimitStepper, f.c().sizeLimitEdit, "501"}};
    for (const auto& c : cases) {
        const QString name = c.stepper->objectName();
        const QString before = c.edit->text();
        for (QToolButton* button : {c.stepper->upButton(), c.stepper->downButton()}) {
            ASSERT_TRUE(button->isVisible()) << qPrintable(name);
            const QPoint centre = button->mapTo(f.window.get(), button->rect().center());
            EXPECT_EQ(f.window->childAt(centre), button) << qPrintable(name);
            QTest::mouseClick(f.window->childAt(centre), Qt::LeftButton);
            const bool up = button == c.stepper->upButton();
            EXPECT_EQ(c.edit->text(), up ? QString::fromUtf8(c.afterUp) : before)
                << qPrintable(name);
        }
    }
}

TEST(OutputSizes, StudentRecordPresetGrowsOnlyTheHeight) {
    SizeFields f;
    const QPoint frameBefore = f.c().capturePanel->pos();
    ASSERT_EQ(f.c().pictureArea->size(), QSize(411, 279));
    f.c().sizeTypeCombo->setCurrentIndex(2);
    emit f.c().sizeTypeCombo->activated(2);
    EXPECT_EQ(f.output.outputWidth, 358);
    EXPECT_EQ(f.output.outputHeight, 441);
    EXPECT_EQ(f.c().capturePanel->size(), QSize(358, 441));
    EXPECT_EQ(f.c().pictureArea->size(), QSize(411, 471)); // 441 + 30; the width was enough
    EXPECT_EQ(f.c().capturePanel->pos(),
              QPoint(411 / 2 - 358 / 2, 471 / 2 - 441 / 2)); // centred by the layout
    EXPECT_NE(f.c().capturePanel->pos(), frameBefore);
    const bool smallScreen = 441 + 165 + 20 > f.window->screen()->size().height();
    EXPECT_EQ(f.dialogs.messages.size(), smallScreen ? 1 : 0);
    if (smallScreen) {
        EXPECT_EQ(f.dialogs.lastText(), "此电脑屏幕像素分辩率不够高，不满足操作要求。");
        EXPECT_EQ(f.dialogs.messages.last().caption, "提示");
    }
}

TEST(OutputSizes, CustomChangesNothingAndTypingSwitchesToCustom) {
    SizeFields f;
    emit f.c().sizeTypeCombo->activated(1);
    EXPECT_EQ(f.output.outputWidth, 160);
    EXPECT_EQ(f.output.outputHeight, 210);

    f.c().widthEdit->setFocus();
    f.c().widthEdit->selectAll();
    QTest::keyClick(f.c().widthEdit, Qt::Key_Backspace);
    EXPECT_EQ(f.output.outputWidth, 0);
    EXPECT_EQ(f.c().capturePanel->width(), 160); // an unusable size keeps the frame
    EXPECT_EQ(f.window->statusHintText(), unusableOutputSizeHint());
    QTest::keyClicks(f.c().widthEdit, "35");
    EXPECT_EQ(f.output.outputWidth, 35);
    EXPECT_EQ(f.c().capturePanel->width(), 35);
    EXPECT_EQ(f.c().sizeTypeCombo->currentIndex(), 1);
    EXPECT_NE(f.window->statusHintText(), unusableOutputSizeHint());
    EXPECT_GT(f.recomposes, 0);
}

TEST(OutputSizes, UpDownStepsTheNumberAndSelectsCustom) {
    SizeFields f;
    f.c().sizeTypeCombo->setCurrentIndex(4);
    emit f.c().sizeTypeCombo->activated(4);
    int handlerRuns = 0;
    QObject::connect(f.c().sizeTypeCombo, qOverload<int>(&QComboBox::activated),
                     [&](int) { ++handlerRuns; });
    emit f.c().heightEdit->stepped(-1);
    EXPECT_EQ(f.c().heightEdit->text(), "412");
    EXPECT_EQ(f.output.outputHeight, 412);
    EXPECT_EQ(f.c().sizeTypeCombo->currentIndex(), 1);
    EXPECT_EQ(handlerRuns, 0);
    emit f.c().widthEdit->stepped(+1);
    EXPECT_EQ(f.output.outputWidth, 296);
}

TEST(OutputSizes, HelperEditsPassTheFocusToTheLimit) {
    SizeFields f;
    f.window->activateWindow();
    f.c().lessEqualEdit->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(f.c().sizeLimitEdit->hasFocus());
}
