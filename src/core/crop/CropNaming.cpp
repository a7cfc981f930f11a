#include "core/crop/CropNaming.h"

#include "core/naming/OutputNames.h"
#include "core/roster/WorkbookReader.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace portiqa {

namespace {

const QString kCollisionMark = QStringLiteral("\u2014");

// The base name as the window's same-name mode takes it: up to the first dot, leading dots
// skipped.
QString baseOf(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const QString file = sourceNameFileName(QString(), name, QString());
    return file.startsWith(QLatin1Char('/')) ? file.mid(1) : file;
}

int sheetIndex(const Workbook& book, const QString& sheet) {
    const int byName = book.sheetNames().indexOf(sheet);
    if (byName >= 0) {
        return byName;
    }
    bool ok = false;
    const int number = sheet.toInt(&ok);
    return ok && number >= 1 && number <= book.sheetCount() ? number - 1 : -1;
}

// The last used row of a column, so a roster in order knows where its names end.
int lastRowOf(const Workbook& book, int sheet, int column) {
    int last = -1;
    book.forEachCell(sheet, [&](int row, int col, const QString&) {
        if (col == column && row > last) {
            last = row;
        }
    });
    return last;
}

} // namespace

int columnIndex(const QString& column) {
    const QString text = column.trimmed().toUpper();
    if (text.isEmpty()) {
        return -1;
    }
    bool ok = false;
    const int number = text.toInt(&ok);
    if (ok) {
        return number >= 1 && number <= 16384 ? number - 1 : -1;
    }
    int index = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('A') || c > QLatin1Char('Z') || index > 16384) {
            return -1;
        }
        index = index * 26 + (c.unicode() - 'A' + 1);
    }
    return index <= 16384 ? index - 1 : -1;
}

std::optional<CropNamingRule> parseNamingRule(const QString& text, QString* error) {
    CropNamingRule rule;
    if (text == QLatin1String("same")) {
        return rule;
    }
    if (text == QLatin1String("seq")) {
        rule.kind = CropNamingRule::Kind::Sequence;
        return rule;
    }
    if (text.startsWith(QLatin1String("prefix:"))) {
        rule.kind = CropNamingRule::Kind::Prefix;
        rule.prefix = text.mid(7);
        const QString problem =
            rule.prefix.isEmpty() ? QStringLiteral("前缀不能为空") : outputNameProblem(rule.prefix);
        if (!problem.isEmpty()) {
            *error = problem;
            return std::nullopt;
        }
        return rule;
    }
    if (text.startsWith(QLatin1String("roster:"))) {
        const QString rest = text.mid(7);
        const int columnColon = rest.lastIndexOf(QLatin1Char(':'));
        const int sheetColon =
            columnColon > 0 ? rest.lastIndexOf(QLatin1Char(':'), columnColon - 1) : -1;
        if (sheetColon <= 0) {
            *error = QStringLiteral("花名册命名应写作 roster:工作簿:工作表:列");
            return std::nullopt;
        }
        rule.kind = CropNamingRule::Kind::Roster;
        rule.book = rest.left(sheetColon);
        rule.sheet = rest.mid(sheetColon + 1, columnColon - sheetColon - 1);
        rule.column = rest.mid(columnColon + 1);
        if (columnIndex(rule.column) < 0) {
            *error =
                QStringLiteral("无法识别的列：%1（用字母 A、B… 或从 1 起的列号）").arg(rule.column);
            return std::nullopt;
        }
        return rule;
    }
    *error = QStringLiteral("无法识别的命名方式：%1（same、seq、prefix:前缀 或 "
                            "roster:工作簿:工作表:列）")
                 .arg(text);
    return std::nullopt;
}

CropNames assignCropNames(const QStringList& pictures, const CropNamingRule& rule,
                          const QString& extension) {
    if (rule.kind != CropNamingRule::Kind::Roster) {
        return assignCropNames(pictures, rule, extension, nullptr);
    }
    const WorkbookReadResult read = WorkbookReader::read(rule.book);
    if (!read.ok) {
        CropNames names;
        names.error = QStringLiteral("无法读取花名册 %1：%2").arg(rule.book, read.reason);
        return names;
    }
    return assignCropNames(pictures, rule, extension, &read.workbook);
}

CropNames assignCropNames(const QStringList& pictures, const CropNamingRule& rule,
                          const QString& extension, const Workbook* book) {
    CropNames names;
    QStringList bases; // per picture, before collisions are settled
    if (rule.kind == CropNamingRule::Kind::Roster) {
        const int sheet = book ? sheetIndex(*book, rule.sheet) : -1;
        const int column = columnIndex(rule.column);
        const int match = rule.matchColumn.isEmpty() ? -1 : columnIndex(rule.matchColumn);
        if (sheet < 0) {
            names.error = QStringLiteral("花名册中没有工作表：%1").arg(rule.sheet);
            return names;
        }
        if (!rule.matchColumn.isEmpty() && match < 0) {
            names.error = QStringLiteral("无法识别的列：%1").arg(rule.matchColumn);
            return names;
        }
        const int first = std::max(0, rule.firstRow - 1);
        if (match >= 0) {
            QHash<QString, int> rowOfBase;
            const int last = lastRowOf(*book, sheet, match);
            for (int row = last; row >= first; --row) { // the first row wins a repeated key
                const QString key = book->cellText(sheet, row, match).trimmed();
                if (!key.isEmpty()) {
                    rowOfBase.insert(key, row);
                }
            }
            for (const QString& picture : pictures) {
                const auto row = rowOfBase.constFind(baseOf(picture));
                bases.append(row == rowOfBase.constEnd()
                                 ? QString()
                                 : book->cellText(sheet, *row, column).trimmed());
            }
        } else {
            for (int i = 0; i < pictures.size(); ++i) {
                bases.append(book->cellText(sheet, first + i, column).trimmed());
            }
        }
    } else {
        for (int i = 0; i < pictures.size(); ++i) {
            const QString number = QString::number(i + 1).rightJustified(4, QLatin1Char('0'));
            switch (rule.kind) {
            case CropNamingRule::Kind::Sequence:
                bases.append(number);
                break;
            case CropNamingRule::Kind::Prefix:
                bases.append(rule.prefix + number);
                break;
            default:
                bases.append(baseOf(pictures.at(i)));
                break;
            }
        }
    }

    // Lower case: names that differ only in letter case collide on some disks.
    QSet<QString> used;
    QHash<QString, int> lastMark;
    for (int i = 0; i < pictures.size(); ++i) {
        const QString base = bases.at(i);
        QString problem;
        if (base.isEmpty()) {
            problem = rule.kind == CropNamingRule::Kind::Roster
                          ? (rule.matchColumn.isEmpty()
                                 ? QStringLiteral("花名册中对应的单元格为空")
                                 : QStringLiteral("花名册中找不到 %1").arg(baseOf(pictures.at(i))))
                          : QStringLiteral("无法由文件名得到输出名称");
        } else {
            problem = outputNameProblem(base);
        }
        if (!problem.isEmpty()) {
            names.fileNames.append(QString());
            names.problems.append(problem);
            continue;
        }
        QString name = base + extension;
        if (used.contains(name.toLower())) {
            int& mark = lastMark[base.toLower()];
            do {
                name = base + kCollisionMark + QString::number(++mark) + extension;
            } while (used.contains(name.toLower()));
        }
        used.insert(name.toLower());
        names.fileNames.append(name);
        names.problems.append(QString());
    }
    return names;
}

} // namespace portiqa
