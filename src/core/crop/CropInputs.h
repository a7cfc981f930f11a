#pragma once

// The pictures a crop run works through. Files are taken as given; folders are scanned the
// way batch crop scans its folder (files whose extension is a picture type, sub-folders not
// entered). The list is sorted and each picture appears once, so every run over the same
// inputs sees the same list in the same order: that order numbers the sequence names, fixes
// the shards and lets a resumed run find its place.

#include <QString>
#include <QStringList>

#include <optional>

namespace portiqa {

struct CropInputList {
    QStringList pictures; // absolute, cleaned paths in the run's order
    QStringList problems; // inputs that could not be used: one sentence each
};

// Expands files and folders. A missing input, or a file that is not a picture type, becomes a
// problem and the rest is kept.
CropInputList expandCropInputs(const QStringList& inputs);

// Paths from a list (one per line, blank lines and surrounding white space ignored); relative
// paths are taken from `baseFolder`.
QStringList readPathList(const QByteArray& text, const QString& baseFolder);

// Slice `k` (1-based) of `n`: the pictures whose position modulo n is k - 1. Every picture is
// in exactly one slice, and the slices stay balanced however the list is ordered.
QStringList shardSlice(const QStringList& pictures, int k, int n);

// "K/N" read into its two numbers; nullopt unless 1 <= K <= N.
std::optional<std::pair<int, int>> parseShard(const QString& text);

// Whether `outputFolder` is one of the input folders, however either is spelled (links,
// "..", a trailing separator).
bool isInputFolder(const QString& outputFolder, const QStringList& inputs);

} // namespace portiqa
