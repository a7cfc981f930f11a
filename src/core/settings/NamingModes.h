#pragma once

// The naming modes of the two batch kinds. Each kind keeps its mode as the text of its list
// entry (the save paths compare that text exactly) and stores it as the entry's index. The
// texts are shown in the settings windows' naming boxes and must stay exactly as they are,
// double spaces and the trailing space of the crop sequence entry included.

#include <QString>
#include <QStringList>

#include <optional>

namespace portiqa {

enum class BatchKind { Crop, QuickShoot };

// What a mode does when a picture is saved.
enum class NamingBehaviour {
    SourceName,   // same base name as the source picture (batch crop only)
    CaptureTime,  // TimestampText
    Sequence,     // SequenceFileName
    CustomPrefix, // PrefixedSequenceFileName with the custom prefix
    AskEveryTime, // write the temporary file, then NamePrompt
    RosterCell,   // RosterFileName with the selected roster cell's text
};

// The list entries in index order: six for batch crop, five for quick-shoot.
const QStringList& namingModeTexts(BatchKind kind);

// The entry for a stored index; an index outside the list gives the first entry.
QString namingModeText(BatchKind kind, int index);

// The index of an entry text, or -1 when the text is not one of the kind's entries.
int namingModeIndex(BatchKind kind, const QString& text);

// The behaviour selected by an entry text; nothing for a text that is not an entry.
std::optional<NamingBehaviour> namingBehaviour(BatchKind kind, const QString& text);

// The entry text of a behaviour; empty when the kind does not offer it.
QString namingModeFor(BatchKind kind, NamingBehaviour behaviour);

} // namespace portiqa
