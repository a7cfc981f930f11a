#include "gui/editor/TextTool.h"

#include "core/editor/EditorColours.h"
#include "core/editor/TextEntryRules.h"
#include "core/editor/TextToolFont.h"
#include "core/workspace/PhotoWorkspace.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>

namespace portiqa {

TextTool::TextTool(QLineEdit& entry, PhotoWorkspace& workspace,
                   std::function<void()> waitForPicture, std::function<void()> commitEdits,
                   QObject* parent)
    : QObject(parent), entry_(entry), workspace_(workspace),
      waitForPicture_(std::move(waitForPicture)), commitEdits_(std::move(commitEdits)),
      font_(TextToolFont::initial()),
      cell_(TextEntryRules::InitialCharWidth, TextEntryRules::InitialCharHeight) {
    entry_.setFrame(false);
    entry_.setTextMargins(0, 0, 0, 0);
    entry_.setContentsMargins(0, 0, 0, 0);
    entry_.setContextMenuPolicy(Qt::NoContextMenu);
    entry_.setFont(font_);
    entry_.hide();
    applyPalette();
    connect(&entry_, &QLineEdit::textChanged, this, &TextTool::fitWidth);
    connect(&entry_, &QLineEdit::returnPressed, this, &TextTool::enterPressed);
}

bool TextTool::boxVisible() const {
    return entry_.isVisibleTo(entry_.parentWidget());
}

void TextTool::writeBoxText() {
    const QString text = entry_.text();
    QImage& surface = workspace_.composition();
    if (text.isEmpty() || surface.isNull()) {
        return;
    }
    QPainter painter(&surface);
    painter.setFont(font_);
    painter.setPen(colour_);
    const QPoint origin = TextEntryRules::writeOrigin(entry_.pos());
    painter.drawText(origin + QPoint(0, QFontMetrics(font_).ascent()), text);
}

bool TextTool::lineReady() {
    if (entry_.text().isEmpty()) {
        return false;
    }
    waitForPicture_();
    return !entry_.text().isEmpty();
}

void TextTool::commitPending() {
    entry_.hide();
    if (!lineReady()) {
        return;
    }
    writeBoxText();
    entry_.clear();
    commitEdits_();
}

void TextTool::discard() {
    entry_.hide();
    entry_.clear();
}

void TextTool::placeAt(QPoint click) {
    if (boxVisible() && lineReady()) {
        writeBoxText();
        commitEdits_();
    }
    entry_.clear();
    entry_.move(TextEntryRules::boxTopLeftForClick(click, cell_.height()));
    entry_.show();
    entry_.raise();
    entry_.setFocus(Qt::MouseFocusReason);
    emit placed();
}

void TextTool::enterPressed() {
    if (lineReady()) {
        writeBoxText();
        commitEdits_();
    }
    entry_.clear();
    entry_.move(entry_.x(), entry_.y() + entry_.height());
}

void TextTool::setFont(const QFont& font) {
    font_ = font;
    if (font_.pixelSize() <= 0) {
        // A size in points means the screen's pixels: fixed in pixels here, so the picture
        // (whose painter knows no screen) gets the text at the size the box shows it.
        font_.setPixelSize(QFontInfo(font).pixelSize());
    }
    entry_.setFont(font_);
    cell_ = TextToolFont::characterCell(font_);
    entry_.resize(cell_.width(), TextEntryRules::boxHeight(cell_.height()));
}

void TextTool::setColour(const QColor& colour) {
    colour_ = colour;
    applyPalette();
}

void TextTool::fitWidth() {
    entry_.resize(TextEntryRules::boxWidth(cell_.width(), entry_.text()), entry_.height());
}

void TextTool::applyPalette() {
    QPalette palette = entry_.palette();
    palette.setColor(QPalette::Text, colour_);
    palette.setColor(QPalette::Base, EditorColours::entryBackground(colour_));
    entry_.setPalette(palette);
}

} // namespace portiqa
