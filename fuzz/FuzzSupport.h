#pragma once

// What the fuzz targets share: turning the fuzzer's bytes into Qt values, and stopping the
// run (abort, so libFuzzer keeps the input) when the program breaks one of its own promises
// without crashing.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace portiqa::fuzz {

// The input as a QByteArray that does not copy it.
inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                   static_cast<qsizetype>(size));
}

// Aborts with `what` when `condition` is false.
void require(bool condition, const char* what);

// A folder of this process for the targets that need files; emptied on every call.
QString freshFolder();

} // namespace portiqa::fuzz
