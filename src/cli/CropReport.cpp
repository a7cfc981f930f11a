#include "cli/CropReport.h"

#include "core/files/SystemErrorText.h"
#include <QJsonDocument>
#include <QJsonObject>

namespace portiqa {

bool CropReport::open(const QString& path, bool append, QString* error) {
    if (path.isEmpty()) {
        return true;
    }
    file_.setFileName(path);
    const QIODevice::OpenMode mode =
        QIODevice::WriteOnly | (append ? QIODevice::Append : QIODevice::Truncate);
    if (!file_.open(mode)) {
        *error = fileErrorText(file_);
        return false;
    }
    return true;
}

QString CropReport::statusWord(CropStatus status) {
    switch (status) {
    case CropStatus::Written:
        return QStringLiteral("written");
    case CropStatus::Skipped:
        return QStringLiteral("skipped");
    case CropStatus::Failed:
        break;
    }
    return QStringLiteral("failed");
}

QByteArray CropReport::line(const CropItem& item, const CropOutcome& outcome) {
    QJsonObject object{
        {QStringLiteral("input"), item.input},
        {QStringLiteral("output"), outcome.status == CropStatus::Written ? item.output : QString()},
        {QStringLiteral("status"), statusWord(outcome.status)},
        {QStringLiteral("bytes"), outcome.bytes},
        {QStringLiteral("quality"), outcome.quality},
        {QStringLiteral("face"), outcome.faceFound},
        {QStringLiteral("seconds"), qRound(outcome.seconds * 1000) / 1000.0},
    };
    if (!outcome.reason.isEmpty()) {
        object.insert(QStringLiteral("reason"), outcome.reason);
    }
    if (outcome.overLimit) {
        object.insert(QStringLiteral("over_limit"), true);
    }
    // What the face framing could not keep, as the window's status bar says it.
    if (outcome.hairCut) {
        object.insert(QStringLiteral("hair_cut"), true);
    }
    if (outcome.band) {
        object.insert(QStringLiteral("band"), true);
    }
    if (!outcome.backgroundRefusal.isEmpty()) {
        object.insert(QStringLiteral("background_refused"), outcome.backgroundRefusal);
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

void CropReport::add(const CropItem& item, const CropOutcome& outcome) {
    if (!file_.isOpen() || failed_) {
        return;
    }
    const QByteArray text = line(item, outcome) + '\n';
    failed_ = file_.write(text) != text.size() || !file_.flush();
}

} // namespace portiqa
