// The .xlsx reader's XML side: the input holds the package's parts, which this target zips
// (stored, so every byte the fuzzer changes reaches the XML reader intact) before reading the
// package as the program does. Mutating a whole .xlsx (fuzz_xlsx) mostly breaks its checksums
// and compressed streams; this one goes after the workbook, relationship, string, style and
// sheet parsing.
//
// Input: the parts in the order of kParts, separated by 0 bytes; an empty or missing part is
// left out of the package.

#include "FuzzSupport.h"

#include "core/roster/XlsxReader.h"

#include <zip.h>

using namespace portiqa;

namespace {

const char* const kParts[] = {"_rels/.rels",
                              "xl/workbook.xml",
                              "xl/_rels/workbook.xml.rels",
                              "xl/sharedStrings.xml",
                              "xl/styles.xml",
                              "xl/worksheets/sheet1.xml",
                              "xl/worksheets/sheet2.xml"};

// A stored zip of the non-empty parts; empty when libzip refuses.
QByteArray package(const QList<QByteArray>& parts) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* memory = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = memory ? zip_open_from_source(memory, ZIP_TRUNCATE, &error) : nullptr;
    zip_error_fini(&error);
    if (archive == nullptr) {
        zip_source_free(memory);
        return {};
    }
    zip_source_keep(memory);
    for (qsizetype k = 0; k < parts.size() && k < qsizetype(std::size(kParts)); ++k) {
        if (parts[k].isEmpty()) {
            continue;
        }
        zip_source_t* data =
            zip_source_buffer(archive, parts[k].constData(), zip_uint64_t(parts[k].size()), 0);
        const zip_int64_t index = data ? zip_file_add(archive, kParts[k], data, 0) : -1;
        if (index < 0) {
            zip_source_free(data);
            continue;
        }
        zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
    }
    QByteArray bytes;
    if (zip_close(archive) != 0) {
        zip_discard(archive);
    } else if (zip_source_open(memory) == 0) {
        zip_stat_t stat;
        if (zip_source_stat(memory, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) != 0) {
            bytes.resize(qsizetype(stat.size));
            if (zip_source_read(memory, bytes.data(), stat.size) != zip_int64_t(stat.size)) {
                bytes.clear();
            }
        }
        zip_source_close(memory);
    }
    zip_source_free(memory);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray zipped = package(fuzz::bytesOf(data, size).split('\0'));
    if (zipped.isEmpty()) {
        return 0;
    }
    const WorkbookReadResult result = XlsxReader::read(zipped);
    fuzz::require(result.ok == result.reason.isEmpty(), "a failure has a reason, a success none");
    fuzz::require(result.workbook.cellCount() <= Workbook::kMaxCells, "cells stay within limit");
    return 0;
}
