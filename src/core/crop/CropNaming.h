#pragma once

// Names for every picture of a crop run, decided before the first picture is cropped. The
// modes are the window's: the source picture's name, a sequence, a prefix and a sequence, or a
// roster cell. Unlike the window, names never depend on what the output folder holds or on
// which worker finishes first: the n-th picture of the list gets the n-th sequence number, a
// name that two pictures would share gets "—1", "—2", ... on the later ones (the window's mark
// for a taken roster name), and so a resumed or sharded run names each picture as the
// first run did.

#include "core/roster/Workbook.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace portiqa {

struct CropNamingRule {
    enum class Kind { Same, Sequence, Prefix, Roster };
    Kind kind = Kind::Same;
    QString prefix;      // Prefix
    QString book;        // Roster: the workbook's path
    QString sheet;       // Roster: the sheet's name, or its number from 1
    QString column;      // Roster: the column of the names: a letter (A, AB) or a number from 1
    QString matchColumn; // Roster: the column holding the pictures' base names; empty = in order
    int firstRow = 2;    // Roster: the first row of names (1-based; row 1 is usually a header)
};

// "same", "seq", "prefix:TEXT" or "roster:BOOK:SHEET:COLUMN" (BOOK may itself hold ':').
// nullopt with `error` filled for anything else.
std::optional<CropNamingRule> parseNamingRule(const QString& text, QString* error);

// A column given as letters or as a number from 1, as a 0-based index; -1 when it is neither.
int columnIndex(const QString& column);

struct CropNames {
    QStringList fileNames; // per picture: the output file's name, empty when it has none
    QStringList problems;  // per picture: why it has no name (empty when it has one)
    QString error;         // the whole rule cannot be used (an unreadable book, a bad sheet)
};

// `pictures` is the whole list of the run (before any shard is taken), `extension` lower case
// with its dot. A roster rule reads its workbook here.
CropNames assignCropNames(const QStringList& pictures, const CropNamingRule& rule,
                          const QString& extension);

// The same with the workbook already read (tests, and a caller that reads it once).
CropNames assignCropNames(const QStringList& pictures, const CropNamingRule& rule,
                          const QString& extension, const Workbook* book);

} // namespace portiqa
