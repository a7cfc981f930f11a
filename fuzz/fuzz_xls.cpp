// The .xls reader (compound file through libgsf, BIFF through libfreexl) on arbitrary bytes.

#include "FuzzSupport.h"

#include "core/roster/XlsReader.h"

using namespace portiqa;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const WorkbookReadResult result = XlsReader::read(fuzz::bytesOf(data, size));
    fuzz::require(result.ok == result.reason.isEmpty(), "a failure has a reason, a success none");
    fuzz::require(result.workbook.cellCount() <= Workbook::kMaxCells, "cells stay within limit");
    return 0;
}
