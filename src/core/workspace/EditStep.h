#pragma once

// One undoable change of the workspace's picture: what a commit replaced, in the form the
// workspace can put back.
//
// A commit that resampled the picture (made at a zoom other than 1) replaced it whole: the step
// holds the previous picture itself, shared with whoever else holds it and never copied, with
// the zoom and view it was shown at. A commit at zoom 1 wrote the visible block into the
// picture: the step holds that block's previous pixels and the view.
//
// PhotoWorkspace::exchangeEdit() puts a step into the workspace and leaves in it what it
// replaced, so the same call takes the change back again: undo, then redo.

#include "core/workspace/PictureState.h"

#include <QImage>
#include <QRect>

namespace portiqa {

struct EditStep {
    // The view (zoom and scroll fractions) always; with a picture for a whole replacement.
    PictureState state;
    // A block written in place: where in the picture, and what goes there.
    QRect region;
    QImage pixels;

    bool wholePicture() const { return state.picture != nullptr; }
    bool isNull() const { return !wholePicture() && pixels.isNull(); }
    // What keeping the step costs.
    qint64 bytes() const {
        return wholePicture() ? state.picture->bytes() : blockBytes(pixels.size());
    }
    // The cost of a block written in place, for a commit that is still to come.
    static qint64 blockBytes(QSize block) {
        return static_cast<qint64>(block.width()) * block.height() * 4;
    }
};

} // namespace portiqa
