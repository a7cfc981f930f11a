#pragma once

// How the program's features reach each other without knowing each other's windows. The
// application object owns one of these; each feature fills in the entries it owns when it is
// wired and calls the others' entries. Until a feature is part of the program its entries do
// nothing and its flags read false, so every feature can be built and tested alone.
//
// GUI thread only.

#include "core/face/DetectedFace.h"
#include "core/face/FaceSearch.h"
#include "core/output/OutputOptions.h"
#include "core/workspace/PicturePyramid.h"

#include <QSize>

#include <functional>

namespace portiqa {

struct FeatureLinks {
    // --- batch crop (owner: the batch crop mode) ---
    std::function<bool()> batchCropMode = [] { return false; };
    // The file of the batch picture on show; empty when the mode is off.
    std::function<QString()> batchPicturePath = [] { return QString(); };
    // Switches batch crop mode off, as the status-bar switch does; nothing when it is off.
    std::function<void()> leaveBatchCropMode = [] {};
    // The A/S/D/F keys: released while a text input of the program is open, taken back
    // afterwards when batch crop mode is still on.
    std::function<void()> releaseBatchHotkeys = [] {};
    std::function<void()> restoreBatchHotkeys = [] {};

    // --- camera window and quick-shoot (owner: the camera window) ---
    std::function<bool()> quickShootMode = [] { return false; };
    std::function<bool()> cameraWindowOpen = [] { return false; };
    // Opens the camera window without modality, or raises it when it is open.
    std::function<void()> openCameraWindow = [] {};
    // Batch crop switching on: closes the camera window, switches quick-shoot off and closes
    // its settings window; nothing when the camera window is closed.
    std::function<void()> closeCameraWindow = [] {};

    // --- roster window (owner: the roster window) ---
    std::function<bool()> rosterWindowOpen = [] { return false; };
    // Opens the window without modality, or raises it when it is open; its texts follow the
    // mode in force.
    std::function<void()> openRosterWindow = [] {};
    // Closes it when open; the workbook and the selected cell are forgotten.
    std::function<void()> closeRosterWindow = [] {};
    // Settings with naming by cell were confirmed while the window is open: its title, caption
    // and status speak of cropping (batch crop) or of shooting (quick-shoot) from now on.
    std::function<void()> retargetRosterToCropping = [] {};
    std::function<void()> retargetRosterToShooting = [] {};

    // --- editor (owner: the editor tool window) ---
    // Writes a line typed into the text tool onto the picture; the commands that change or
    // read the picture run it first.
    std::function<void()> commitPendingText = [] {};
    // Drops a typed line without writing it (a camera photo replaces the picture).
    std::function<void()> discardPendingText = [] {};
    // Puts the active tool's cursor back on the picture area after a new picture came in.
    std::function<void()> reapplyEditorCursor = [] {};
    // The save's first step: the text tool ends (its line written, the hotkeys given back).
    std::function<void()> finishTextForSave = [] {};
    // Unticks every editor tool, as a right click on the picture area does (batch crop resume).
    std::function<void()> dropEditorTools = [] {};

    // --- face framing (owner: the face framing feature) ---
    // Pictures are framed on the face as they are shown (and the quick-shoot frame follows
    // the face on the preview).
    std::function<bool()> autoFrameOn = [] { return false; };
    // The faces of a picture, in its full size's coordinates. Thread-safe: a prefetch runs it
    // on its worker for the picture it prepares.
    FaceSearch findFaces = [](const PicturePyramid&, QSize) { return DetectedFaces(); };
    // Hands those faces over before the prefetched picture is shown, so it appears framed at
    // once.
    std::function<void(PicturePyramidPtr, DetectedFaces)> prefetchedFaces = [](PicturePyramidPtr,
                                                                               DetectedFaces) {};

    // --- output options (owner: the output options feature) ---
    // What every save writes with for the current output size: its resolution, the minimum
    // JPEG size and the best-picture search.
    std::function<OutputOptions()> outputOptions = [] { return OutputOptions(); };
    // The output options window stored new options.
    std::function<void()> outputOptionsStored = [] {};
    // For a batch picture read ahead, with its faces: work done on the read-ahead's worker
    // that returns what to run on the GUI thread before the picture is shown. Empty when
    // there is nothing to do ahead (no background colour set).
    using PreparedAhead =
        std::function<std::function<void()>(const PicturePyramidPtr&, const DetectedFaces&)>;
    std::function<PreparedAhead()> backgroundAhead = [] { return PreparedAhead(); };
    // A quick-shoot picture with its background replaced as the options ask, before it is
    // written.
    std::function<QImage(const QImage&)> replaceShotBackground = [](const QImage& shot) {
        return shot;
    };
    // The resolution output pictures are meant for, in dots per inch: the print sheet prints
    // the output size at it.
    std::function<int()> outputResolutionDpi = [] { return 300; };
};

} // namespace portiqa
