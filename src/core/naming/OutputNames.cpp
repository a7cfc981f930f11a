#include "core/naming/OutputNames.h"

#include <QFileInfo>

#include <limits>

namespace portiqa {

namespace {

// A file name's bytes are limited to 255 on common file systems; the counter added on a
// collision and the extension need room as well.
constexpr int kMaxNameBytes = 200;

const QString kCollisionMark = QStringLiteral("—");

bool pathExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString joined(const QString& folder, const QString& name) {
    return folder + QLatin1Char('/') + name;
}

QString paddedNumber(int n) {
    return QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0'));
}

QString firstFreeNumbered(const QString& folder, const QString& prefix, const QString& extension) {
    for (int n = 1; n < std::numeric_limits<int>::max(); ++n) {
        const QString candidate = joined(folder, prefix + paddedNumber(n) + extension);
        if (!pathExists(candidate)) {
            return candidate;
        }
    }
    return QString();
}

} // namespace

QDateTime systemClock() {
    return QDateTime::currentDateTime();
}

QString timestampText(const QDateTime& now) {
    const QDate d = now.date();
    const QTime t = now.time();
    return QStringLiteral("%1-%2-%3 %4-%5-%6")
        .arg(d.year())
        .arg(d.month())
        .arg(d.day())
        .arg(t.hour())
        .arg(t.minute())
        .arg(t.second());
}

QString captureTimeFileName(const QString& folder, const QString& extension, const QDateTime& now) {
    return joined(folder, timestampText(now) + extension);
}

QString sequenceFileName(const QString& folder, const QString& extension) {
    return firstFreeNumbered(folder, QString(), extension);
}

QString prefixedSequenceFileName(const QString& folder, const QString& prefix,
                                 const QString& extension) {
    if (!outputNameProblem(prefix).isEmpty()) {
        return QString();
    }
    return firstFreeNumbered(folder, prefix, extension);
}

QString rosterFileName(const QString& folder, const QString& text, const QString& extension) {
    if (text.isEmpty() || !outputNameProblem(text).isEmpty()) {
        return QString();
    }
    QString candidate = joined(folder, text + extension);
    for (int k = 1; pathExists(candidate) && k < std::numeric_limits<int>::max(); ++k) {
        candidate = joined(folder, text + kCollisionMark + QString::number(k) + extension);
    }
    return candidate;
}

QString sourceFileName(const PictureSource& source, const QString& taskPictureName) {
    return source.kind == SourceKind::File ? QFileInfo(source.path).fileName() : taskPictureName;
}

QString sourceNameFileName(const QString& folder, const QString& sourceName,
                           const QString& extension) {
    qsizetype start = 0;
    while (start < sourceName.size() && sourceName.at(start) == QLatin1Char('.')) {
        ++start;
    }
    const qsizetype dot = sourceName.indexOf(QLatin1Char('.'), start);
    const QString base = sourceName.mid(start, dot < 0 ? -1 : dot - start);
    // The source name is a real file's name, valid where it lives; only a separator (from a
    // hand-edited task file) could lead outside the folder.
    if (base.isEmpty() || base.contains(QLatin1Char('/')) || base.contains(QLatin1Char('\\'))) {
        return QString();
    }
    return joined(folder, base + extension);
}

QString namedOutputPath(const NamingRequest& r) {
    switch (r.behaviour) {
    case NamingBehaviour::SourceName:
        return sourceNameFileName(r.folder, r.sourceName, r.extension);
    case NamingBehaviour::CaptureTime:
        return captureTimeFileName(r.folder, r.extension, r.now);
    case NamingBehaviour::Sequence:
        return sequenceFileName(r.folder, r.extension);
    case NamingBehaviour::CustomPrefix:
        return prefixedSequenceFileName(r.folder, r.customPrefix, r.extension);
    case NamingBehaviour::AskEveryTime:
        return r.temporaryFile;
    case NamingBehaviour::RosterCell:
        return rosterFileName(r.folder, r.rosterText, r.extension);
    }
    return QString();
}

QString outputNameProblem(const QString& name) {
    const QString tail = QStringLiteral("，请改用其他名称。");
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            const QString code = QString::number(c.unicode(), 16).toUpper();
            return QStringLiteral("名称中含有控制字符（U+%1）").arg(code.rightJustified(4, u'0')) +
                   tail;
        }
        if (QStringLiteral("\\/:*?\"<>|").contains(c)) {
            return QStringLiteral("名称中含有不能用于文件名的字符“%1”").arg(c) + tail;
        }
    }
    if (name.contains(QStringLiteral(".."))) {
        return QStringLiteral("名称中不能含有“..”") + tail;
    }
    if (name.toUtf8().size() > kMaxNameBytes) {
        return QStringLiteral("名称过长") + tail;
    }
    return QString();
}

} // namespace portiqa
