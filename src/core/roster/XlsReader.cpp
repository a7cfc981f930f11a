#include "core/roster/XlsReader.h"

#include "core/roster/CellText.h"
#include "core/roster/XlsRecords.h"

#include <QFile>
#include <QTemporaryFile>

#include <freexl.h>
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include <memory>
#include <mutex>

namespace portiqa {

namespace {

constexpr qint64 kMiniStreamLimit = 4096;

struct GObjectUnref {
    void operator()(gpointer object) const {
        if (object)
            g_object_unref(object);
    }
};
template <typename T> using GsfPtr = std::unique_ptr<T, GObjectUnref>;

void initGsfOnce() {
    static std::once_flag once;
    std::call_once(once, [] { gsf_init(); });
}

// Closes a libfreexl handle on every path; libfreexl wants it closed after a failed open too.
struct FreexlHandle {
    const void* handle = nullptr;
    ~FreexlHandle() {
        if (handle)
            freexl_close(handle);
    }
};

QString reasonForFreexl(int code) {
    switch (code) {
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE:
    case FREEXL_CFBF_INVALID_SECTOR_SIZE:
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        return readreason::notWorkbook();
    case FREEXL_INSUFFICIENT_MEMORY:
        return QStringLiteral("内存不足。");
    case FREEXL_INVALID_CHARACTER:
    case FREEXL_UNSUPPORTED_CHARSET:
        return QStringLiteral("文件使用了无法识别的字符编码。");
    default:
        return readreason::damaged();
    }
}

QString cellValueText(const FreeXL_CellValue& value) {
    switch (value.type) {
    case FREEXL_CELL_INT:
        return QString::number(value.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return celltext::fromNumber(value.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return value.value.text_value ? QString::fromUtf8(value.value.text_value) : QString();
    default:
        return {};
    }
}

WorkbookReadResult readOpened(const void* handle) {
    unsigned int password = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK &&
        password == FREEXL_BIFF_OBFUSCATED)
        return WorkbookReadResult::failure(readreason::passwordProtected());
    unsigned int sheets = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK)
        return WorkbookReadResult::failure(readreason::damaged());

    WorkbookReadResult result;
    for (unsigned int s = 0; s < sheets && s <= 0xFFFF; ++s) {
        const auto index = static_cast<unsigned short>(s);
        const char* name = nullptr;
        freexl_get_worksheet_name(handle, index, &name);
        const int sheet = result.workbook.addSheet(name ? QString::fromUtf8(name) : QString());
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_select_active_worksheet(handle, index) != FREEXL_OK ||
            freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK)
            continue;
        for (unsigned int r = 0; r < rows; ++r) {
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue value{};
                if (freexl_get_cell_value(handle, r, c, &value) != FREEXL_OK)
                    continue;
                const QString text = cellValueText(value);
                if (text.isEmpty())
                    continue;
                result.workbook.setCell(sheet, static_cast<int>(r), c, text);
                if (result.workbook.cellCount() > Workbook::kMaxCells)
                    return WorkbookReadResult::failure(readreason::tooManyCells());
            }
        }
    }
    result.ok = true;
    return result;
}

WorkbookReadResult readFile(const QString& path) {
    FreexlHandle h;
    const int code = freexl_open(QFile::encodeName(path).constData(), &h.handle);
    if (code != FREEXL_OK)
        return WorkbookReadResult::failure(reasonForFreexl(code));
    return readOpened(h.handle);
}

} // namespace

std::optional<XlsReader::WorkbookStream> XlsReader::workbookStream(const QByteArray& content,
                                                                   QString* reason) {
    initGsfOnce();
    GsfPtr<GsfInput> input(gsf_input_memory_new(
        reinterpret_cast<const guint8*>(content.constData()), content.size(), FALSE));
    GError* error = nullptr;
    GsfPtr<GsfInfile> ole(gsf_infile_msole_new(input.get(), &error));
    if (error)
        g_error_free(error);
    if (!ole) {
        *reason = readreason::damaged();
        return std::nullopt;
    }
    // A password-protected .xlsx is a compound file holding the encrypted package.
    if (GsfPtr<GsfInput>(gsf_infile_child_by_name(ole.get(), "EncryptedPackage"))) {
        *reason = readreason::passwordProtected();
        return std::nullopt;
    }
    WorkbookStream result;
    GsfPtr<GsfInput> stream(gsf_infile_child_by_name(ole.get(), "Workbook"));
    if (!stream) {
        result.name = "Book"; // Excel 5/95
        stream.reset(gsf_infile_child_by_name(ole.get(), result.name));
    }
    if (!stream) {
        *reason = readreason::notWorkbook();
        return std::nullopt;
    }
    const gsf_off_t size = gsf_input_size(stream.get());
    if (size < 0 || size > WorkbookReader::kMaxFileBytes) {
        *reason = readreason::damaged();
        return std::nullopt;
    }
    result.bytes.resize(static_cast<qsizetype>(size));
    if (size > 0 && !gsf_input_read(stream.get(), static_cast<size_t>(size),
                                    reinterpret_cast<guint8*>(result.bytes.data()))) {
        *reason = readreason::damaged();
        return std::nullopt;
    }
    return result;
}

bool XlsReader::isEncrypted(const QByteArray& stream) {
    // The FILEPASS record, when there is one, comes among the workbook globals, before their
    // EOF record; everything after it is encrypted.
    constexpr quint16 kFilePass = 0x002F;
    constexpr quint16 kEof = 0x000A;
    qsizetype at = 0;
    while (at + 4 <= stream.size()) {
        const auto* p = reinterpret_cast<const uchar*>(stream.constData() + at);
        const quint16 type = static_cast<quint16>(p[0] | (p[1] << 8));
        const quint16 length = static_cast<quint16>(p[2] | (p[3] << 8));
        if (type == kFilePass)
            return true;
        if (type == kEof)
            return false;
        at += 4 + length;
    }
    return false;
}

std::optional<QByteArray> XlsReader::packWithPadding(const WorkbookStream& stream) {
    QByteArray data = stream.bytes;
    if (data.size() < kMiniStreamLimit)
        data.append(kMiniStreamLimit - data.size(), '\0');
    GsfPtr<GsfOutput> memory(gsf_output_memory_new());
    {
        GsfPtr<GsfOutfile> outFile(gsf_outfile_msole_new(memory.get()));
        GsfPtr<GsfOutput> child(gsf_outfile_new_child(outFile.get(), stream.name, FALSE));
        const bool written = child &&
                             gsf_output_write(child.get(), static_cast<size_t>(data.size()),
                                              reinterpret_cast<const guint8*>(data.constData())) &&
                             gsf_output_close(child.get());
        if (!written || !gsf_output_close(GSF_OUTPUT(outFile.get())))
            return std::nullopt;
    }
    const auto bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory.get()));
    const gsf_off_t size = gsf_output_size(memory.get());
    return QByteArray(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
}

WorkbookReadResult XlsReader::read(const QByteArray& content) {
    QString reason;
    const std::optional<WorkbookStream> stream = workbookStream(content, &reason);
    if (!stream)
        return WorkbookReadResult::failure(reason);
    if (isEncrypted(stream->bytes))
        return WorkbookReadResult::failure(readreason::passwordProtected());
    // libfreexl trusts the sizes it reads: it only ever sees records of a sane length, in a
    // compound file libgsf wrote, never the container the file came in.
    WorkbookStream framed = *stream;
    framed.bytes.truncate(xlsrecords::framedLength(stream->bytes));
    if (framed.bytes.isEmpty() || !xlsrecords::dimensionsAreSound(framed.bytes))
        return WorkbookReadResult::failure(readreason::damaged());
    xlsrecords::keepHugeNumbersFromDates(&framed.bytes);
    const std::optional<QByteArray> packed = packWithPadding(framed);
    if (!packed)
        return WorkbookReadResult::failure(readreason::damaged());
    // libfreexl reads from a path only.
    QTemporaryFile copy;
    if (!copy.open() || copy.write(*packed) != packed->size() || !copy.flush())
        return WorkbookReadResult::failure(QStringLiteral("无法写入临时文件。"));
    copy.close();
    WorkbookReadResult result = readFile(copy.fileName());
    if (result.ok)
        xlsrecords::completeFromRecords(framed.bytes, &result.workbook);
    return result;
}

} // namespace portiqa
