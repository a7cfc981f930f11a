#include "core/roster/XlsxPackage.h"

#include "core/roster/WorkbookReader.h"

#include <zip.h>

namespace portiqa {

namespace {

QString overBudget() {
    return QStringLiteral("文件解压后过大（超过200MB），可能已损坏。");
}

} // namespace

XlsxPackage::~XlsxPackage() {
    if (archive_)
        zip_discard(archive_);
}

bool XlsxPackage::open(const QByteArray& content, qint64 unpackBudget, QString* reason) {
    budget_ = unpackBudget;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(
        content.constData(), static_cast<zip_uint64_t>(content.size()), 0, &error);
    if (source)
        archive_ = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive_) {
        if (source)
            zip_source_free(source);
        // Only content that starts like a zip gets here: one that does not open is damaged.
        *reason = readreason::damaged();
    }
    zip_error_fini(&error);
    return archive_ != nullptr;
}

qint64 XlsxPackage::locate(const QString& partName) const {
    if (!archive_)
        return -1;
    const QByteArray name = partName.toUtf8();
    zip_int64_t index = zip_name_locate(archive_, name.constData(), 0);
    if (index < 0) // some writers differ in the case of part names
        index = zip_name_locate(archive_, name.constData(), ZIP_FL_NOCASE);
    return index;
}

bool XlsxPackage::contains(const QString& partName) const {
    return locate(partName) >= 0;
}

std::optional<QByteArray> XlsxPackage::read(const QString& partName, QString* reason) {
    reason->clear();
    const qint64 index = locate(partName);
    if (index < 0)
        return std::nullopt;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &st) != 0 ||
        !(st.valid & ZIP_STAT_SIZE)) {
        *reason = readreason::damaged();
        return std::nullopt;
    }
    if (static_cast<qint64>(st.size) > budget_ || st.size > zip_uint64_t(0x7fffffff)) {
        *reason = overBudget();
        return std::nullopt;
    }
    zip_file_t* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
    if (!file) {
        const int code = zip_error_code_zip(zip_get_error(archive_));
        *reason =
            (code == ZIP_ER_NOPASSWD || code == ZIP_ER_ENCRNOTSUPP || code == ZIP_ER_WRONGPASSWD)
                ? readreason::passwordProtected()
                : readreason::damaged();
        return std::nullopt;
    }
    // One byte more than declared tells a part that unpacks to more than its header says.
    QByteArray data(static_cast<qsizetype>(st.size) + 1, Qt::Uninitialized);
    qint64 total = 0;
    while (total < data.size()) {
        const zip_int64_t n =
            zip_fread(file, data.data() + total, static_cast<zip_uint64_t>(data.size() - total));
        if (n < 0) {
            zip_fclose(file);
            *reason = readreason::damaged();
            return std::nullopt;
        }
        if (n == 0)
            break;
        total += n;
    }
    zip_fclose(file);
    if (total != static_cast<qint64>(st.size)) {
        *reason = readreason::damaged();
        return std::nullopt;
    }
    budget_ -= total;
    data.truncate(static_cast<qsizetype>(total));
    return data;
}

} // namespace portiqa
