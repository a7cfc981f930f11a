#pragma once

// The zip container of an .xlsx, opened from memory with libzip. Every part read counts
// against one budget of unpacked bytes, checked against the sizes the archive declares before
// anything is unpacked and against the bytes actually produced, so a zip bomb ends in a
// reason instead of exhausting memory.

#include <QByteArray>
#include <QString>

#include <optional>

struct zip;

namespace portiqa {

class XlsxPackage {
public:
    XlsxPackage() = default;
    ~XlsxPackage();
    XlsxPackage(const XlsxPackage&) = delete;
    XlsxPackage& operator=(const XlsxPackage&) = delete;

    // Opens the archive held in `content` (which must outlive this object); false with a
    // reason when it is no readable zip.
    bool open(const QByteArray& content, qint64 unpackBudget, QString* reason);

    bool contains(const QString& partName) const;
    // The part's bytes; nullopt when it is missing (reason left empty) or cannot be read
    // (reason set: damage, encryption, over the budget).
    std::optional<QByteArray> read(const QString& partName, QString* reason);

private:
    qint64 locate(const QString& partName) const;

    zip* archive_ = nullptr;
    qint64 budget_ = 0;
};

} // namespace portiqa
