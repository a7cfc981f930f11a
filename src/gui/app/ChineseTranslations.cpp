#include "gui/app/ChineseTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace portiqa {

bool installChineseTranslations(QCoreApplication& app) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool any = false;
    for (const char* catalogue : {"qtbase_zh_CN", "qtmultimedia_zh_CN"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QLatin1String(catalogue), folder)) {
            QCoreApplication::installTranslator(translator);
            any = true;
        } else {
            delete translator;
        }
    }
    // Dates and numbers in Qt's dialogs follow the same language.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    return any;
}

} // namespace portiqa
