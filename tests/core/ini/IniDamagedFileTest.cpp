// Settings and task files damaged in ways nobody wrote by hand (inputs the fuzzer found, kept in
// tests/fixtures/fuzz/ini): a key written into them reads back, from memory and from the file.

#include "core/ini/IniFile.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <malloc.h>

using namespace portiqa;
using portiqa::test::fixturePath;
using portiqa::test::readAll;
using portiqa::test::writeAll;

namespace {

TEST(IniDamagedFile, AWrittenKeyReadsBackFromEveryFinding) {
    const QDir findings(fixturePath(QStringLiteral("fuzz/ini")));
    const QStringList names = findings.entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        SCOPED_TRACE(qPrintable(name));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("set.dll"));
        ASSERT_TRUE(writeAll(path, readAll(findings.filePath(name))));
        IniFile file(path);
        const QStringList sections = file.sectionNames();
        const QString section = sections.isEmpty() ? QStringLiteral("批量截图") : sections.first();
        ASSERT_TRUE(file.write(section, QStringLiteral("保存目录"), QStringLiteral("D:/照片")));
        EXPECT_EQ(file.read(section, QStringLiteral("保存目录")), QStringLiteral("D:/照片"));
        const IniFile again(path);
        EXPECT_EQ(again.read(section, QStringLiteral("保存目录")), QStringLiteral("D:/照片"));
        EXPECT_EQ(again.sectionNames().mid(0, sections.size()), sections);
    }
}

// A character cut off by the end of the file reads the same (U+FFFD) as when a line follows it,
// so the name of a section does not change when a write adds a key after it.
TEST(IniDamagedFile, ACutCharacterReadsTheSameAtTheEndAndBeforeALine) {
    const QByteArray cut("[\xc5\xfa\xbd", 4); // "[批" and the first byte of a second character
    const QString atEnd = IniDocument::parse(cut).sectionNames().value(0);
    const QString beforeLine = IniDocument::parse(cut + "\r\nk=v\r\n").sectionNames().value(0);
    EXPECT_EQ(atEnd, beforeLine);
    EXPECT_EQ(atEnd, QStringLiteral("批") + QChar(QChar::ReplacementCharacter));
}

// Each file object keeps memory in proportion to its file, not to the largest file it accepts.
TEST(IniDamagedFile, ReadingASmallFileTakesLittleMemory) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("set.dll"));
    ASSERT_TRUE(writeAll(path, "[a]\r\nb=c\r\n"));
    const auto held = [] {
        const struct mallinfo2 info = mallinfo2();
        return qint64(info.uordblks + info.hblkhd);
    };
    const qint64 before = held();
    IniFile file(path);
    ASSERT_EQ(file.read(QStringLiteral("a"), QStringLiteral("b")), QStringLiteral("c"));
    EXPECT_LT(held() - before, 1 << 20);
}

} // namespace
