#pragma once

// The photo workspace: the current picture, its zoomed and scrolled display with the capture
// frame over it, and the commit that turns the display back into the picture.
//
// The zoomed surface is virtual. A redraw computes only the pixels on show (through
// AreaResampler, from the picture's pyramid), so its cost follows the picture area, not the
// picture. A commit makes the picture take its on-screen resolution (PictureCommit): at zoom 1
// only the visible block is written into it; at any other zoom the whole zoomed picture is
// built on worker threads.
//
// Surfaces: composition() is the visible part of the zoomed picture at the centring offsets,
// white elsewhere (the editor draws on it); view() is the composition plus the frame outline,
// what the picture area paints. Both have the picture area's size.
//
// Everything runs on the GUI thread. Signals tell the widgets what to mirror; the workspace
// never reads a widget.

#include "core/workspace/CaptureFrame.h"
#include "core/workspace/EditStep.h"
#include "core/workspace/FrameReplacement.h"
#include "core/workspace/PictureCommit.h"
#include "core/workspace/PicturePyramid.h"
#include "core/workspace/PictureState.h"
#include "core/workspace/WorkspaceGeometry.h"
#include "core/workspace/ZoomLimits.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QSize>

#include <functional>

namespace portiqa {

class PhotoWorkspace : public QObject {
    Q_OBJECT
public:
    using PictureState = portiqa::PictureState;
    static constexpr int MaxZoomedSide = ZoomLimits::MaxZoomedSide;
    // A commit at a zoom other than 1 builds the whole zoomed picture; beyond this it is
    // refused.
    static constexpr qint64 MaxCommitPixels = 200'000'000;
    static constexpr double ZoomInFactor = 1.02;
    static constexpr double ZoomOutFactor = 0.98;

    explicit PhotoWorkspace(QObject* parent = nullptr);

    // --- the picture -----------------------------------------------------------------------
    // A new picture from a loader: it becomes current, pictureLoaded is set, the scroll
    // fractions go to the middle when `resetScrollFractions` (files, drops, pastes; a camera
    // shot keeps them), the zoom is chosen by FitZoom and the workspace redraws. A null
    // picture changes nothing and returns false.
    //
    // A preview (a scaled decode shown while the full picture is still decoding) passes the
    // full picture's size as `fullSize`: zoom, zoomed size and layout are those of the full
    // picture, only the pixels come from the preview until upgradePicture() brings the full
    // ones. Whatever must work on the full picture (capture, commit, turn) waits for it.
    bool showNewPicture(const QImage& picture, bool resetScrollFractions = true);
    bool showNewPicture(PicturePyramidPtr picture, bool resetScrollFractions = true,
                        QSize fullSize = {});
    // The full picture for the preview on show: zoom, fractions and frame stay; the display
    // switches to the full pixels. False (nothing changes) for a null picture.
    bool upgradePicture(PicturePyramidPtr fullPicture);

    // What a load replaces, so a load that fails after its preview was shown can put the
    // previous picture back exactly (zoom and scroll fractions included).
    PictureState pictureState() const;
    void restorePictureState(const PictureState& state);
    // No picture any more (pictureLoaded false, white surfaces); zoom and scroll fractions
    // keep their values. For a picture that could not be shown where showing the one before
    // would be taken for it (a batch step).
    void dropPicture();

    bool pictureLoaded() const { return pictureLoaded_; }
    bool showingPreview() const { return preview_; }
    // The picture's own size (the full picture's while a preview is shown).
    QSize pictureSize() const { return pictureSize_; }
    QImage picture() const; // opaque RGB32; null before the first picture
    PicturePyramidPtr pyramid() const { return picture_; }

    // --- zoom, scroll and layout ----------------------------------------------------------
    double zoom() const { return zoom_; }
    // Multiplies the zoom and redraws (clears buttonHeld). Refused (false, nothing changes)
    // when a picture is loaded and its zoomed size would leave the bounds (ZoomLimits).
    // Without a picture only the number changes.
    bool zoomBy(double factor);
    // Sets the zoom outright (same bounds), for loaders and tests.
    bool setZoom(double zoom);
    // Zoom, scroll fractions and the frame's place in one redraw (the face framing). Same
    // bounds as setZoom; false (nothing changes) without a picture or outside them.
    bool showFraming(double zoom, double fractionX, double fractionY, QPoint frameTopLeft);
    // Toolbar 放大 / 缩小: need a picture, commit a pending text first.
    bool zoomIn();
    bool zoomOut();
    // Wheel with n notches (positive away from the operator): factor 1 - 0.02 n.
    bool zoomByWheel(int notches);

    QSize zoomedSize() const { return zoomed_; }
    QPoint offset() const { return {horizontal_.offset, vertical_.offset}; }
    QSize visibleSize() const { return {horizontal_.visible, vertical_.visible}; }
    QPoint scrollPosition() const;
    double scrollFractionX() const { return fractionX_; }
    double scrollFractionY() const { return fractionY_; }
    const AxisLayout& horizontal() const { return horizontal_; }
    const AxisLayout& vertical() const { return vertical_; }

    QSize areaSize() const { return area_; }
    // The picture area's size (layout); the surfaces follow. Redraws when a picture is loaded.
    void setAreaSize(QSize area);

    // Rebuild the display from the picture and the zoom; uncommitted drawing is discarded.
    void redrawWorkspace();
    // Empties the shown surfaces to white; the picture state stays (a missing task picture).
    void clearView();
    // Copy the composition to the view and draw the frame outline.
    void recomposeView();
    // The same, then `overlay` draws on the view only (the editor's brush outline); the next
    // recomposition removes it.
    void recomposeView(const std::function<void(QImage&)>& overlay);
    // The scroll bars moved: take the positions of the directions that scroll.
    void applyScroll(int horizontalPosition, int verticalPosition);

    // --- commit and undo (PictureCommit) ----------------------------------------------------
    // Make the composition part of the picture at the on-screen resolution; the zoom becomes 1
    // and the display does not change. `replaced` receives what the commit replaced (a null
    // step when nothing on show could change). False (nothing changes) when canCommit() is
    // false, when memory runs out, or when another picture came in while it was built.
    bool commitEdits(EditStep* replaced = nullptr);
    // A picture is on show in full and its zoomed size is within MaxCommitPixels.
    bool canCommit() const;
    // What the step of the next commit will cost to keep: the visible block at zoom 1, the
    // whole picture otherwise.
    qint64 commitStepBytes() const;
    // Puts `step` into the picture (with the zoom and view it holds) and leaves in it what it
    // replaced, so the same call reverses it. False (nothing changes) without a full picture,
    // for a block outside the picture or when memory runs out.
    bool exchangeEdit(EditStep& step);
    // A commit at a zoom other than 1 builds the new picture on worker threads and waits for
    // it with this. The program keeps its window painting under the wait cursor and holds the
    // operator's input meanwhile; by default it blocks.
    void setLongWorkWait(PictureCommit::LongWorkWait wait) {
        commit_.setLongWorkWait(std::move(wait));
    }

    // A quarter turn of the picture at its own resolution; zoom, fractions and frame stay.
    // False (nothing changes) without a picture, while a preview is on show or when memory
    // runs out.
    bool turnQuarter(bool clockwise);

    // --- surfaces --------------------------------------------------------------------------
    QImage& composition() { return composition_; }
    const QImage& composition() const { return composition_; }
    const QImage& view() const { return view_; }

    // --- the capture frame -----------------------------------------------------------------
    const CaptureFrame& frame() const { return frame_; }
    void setFrameSize(QSize size);
    void setFrameColour(const QColor& colour);
    void moveFrameTo(QPoint topLeft);
    // Tells the capture panel (which lies exactly under the frame) where the frame is now.
    void placeCapturePanel();
    // Move the frame by (dx, dy) and recompose; nothing without a picture.
    void stepFrame(int dx, int dy);
    // The W x H block under the frame, read from the composition: white wherever the frame
    // lies outside the zoomed picture or the area. Null for an empty or absurd frame size, and
    // while a preview is on show (its pixels are never saved or copied).
    // With a frame replacement standing for the frame's pixels, that replacement: what the
    // frame shows is what is saved.
    QImage captureFramedImage() const;
    // The frame's own pixels, never replaced.
    QImage captureOwnFramedImage() const;
    // The part of a capture the picture covers, in the frame's own coordinates; where the
    // frame passes the picture's edge the rest is white. Empty without a picture under it.
    QRect framedPicturePart() const;
    // Pixels shown and captured in place of the frame's own while these stay as they are now
    // (FrameReplacement); `source` is the captureOwnFramedImage() they were made from.
    void setFrameReplacement(const QImage& source, const QImage& replaced);
    void clearFrameReplacement();
    bool frameReplaced() const;
    // The replacement on hand, to test against frame pixels already captured.
    const FrameReplacement& frameReplacement() const { return replacement_; }

    // --- the pointer over the picture area ------------------------------------------------
    // Press: starts a frame drag when the pointer grabs the frame. Returns whether it did.
    bool pressPointer(QPoint point);
    // Move: drags the frame while held; otherwise updates the hover state. Returns whether
    // the pointer is over the frame (the four-way move cursor).
    bool movePointer(QPoint point);
    void releasePointer() { buttonHeld_ = false; }
    bool buttonHeld() const { return buttonHeld_; }
    bool pointerOverFrame() const { return overFrame_; }

    // The editor's pending text is written into the picture before most commands; it plugs
    // in here.
    void setPendingTextCommit(std::function<void()> commit) { pendingText_ = std::move(commit); }
    void commitPendingText();

    // Counts the pictures the workspace has held: it changes whenever the picture is replaced
    // by another one or changed (a load, a restore, a turn, a commit, an undo), not when a
    // preview gets its full pixels. Work begun on one picture checks it before it touches the
    // view.
    quint64 pictureGeneration() const { return generation_; }

signals:
    void viewChanged();           // view() has new pixels
    void scrollBarsChanged();     // horizontal()/vertical() changed: mirror them on the bars
    void frameMoved(QRect frame); // the capture panel's new place and size
    void newPictureShown();       // a loader's new picture replaced the current one
    void pictureDropped();        // nothing is on show any more (dropPicture)
    void pictureTurned();         // a quarter turn replaced the picture

private:
    friend class PictureCommit;

    void compose();
    void clearSurfaces();
    bool zoomAllowed(double zoom) const;

    PicturePyramidPtr picture_;
    QSize pictureSize_;
    bool preview_ = false;
    bool pictureLoaded_ = false;
    double zoom_ = 1.0;
    QSize zoomed_;
    AxisLayout horizontal_;
    AxisLayout vertical_;
    double fractionX_ = 0.5;
    double fractionY_ = 0.5;
    QSize area_{411, 279};
    QImage composition_;
    QImage view_;
    CaptureFrame frame_;
    FrameReplacement replacement_;
    bool buttonHeld_ = false;
    bool overFrame_ = false;
    QPoint lastPoint_;
    std::function<void()> pendingText_;
    PictureCommit commit_;
    quint64 generation_ = 0;
};

} // namespace portiqa
