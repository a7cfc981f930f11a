#pragma once

// Replaces the background of a framed head-and-shoulders picture with one colour, or refuses
// and says why. Works on the framed picture at output size only.
//
// How: the face gives seeds (its middle, the neck and the chest are the person; the frame's
// top corners, the space above the hair and the sides beside the head are background), and
// OpenCV's GrabCut separates the rest on a reduced copy. The guided filter (OpenCV contrib's
// ximgproc) then fits the mask's edge to the picture's own edges at full size, which gives the
// hair its soft outline. Edge pixels are decontaminated: the old background's share of their
// colour, estimated from the background around them, is taken out before the new colour is
// mixed in, so no halo of the old wall stays in the hair. Pixels farther than a few pixels
// from the edge are the picture or the colour exactly.
//
// It does not guess: without a face, on a background whose texture or colours the separation
// cannot be trusted with, or when the result does not look like a head and shoulders, the
// picture comes back unchanged with the reason.
//
// Pure function of its inputs; safe on any thread.

#include "core/face/DetectedFace.h"

#include <QImage>
#include <QRgb>
#include <QString>

namespace portiqa {

struct BackgroundReplacement {
    enum class Outcome { Replaced, NoFace, BusyBackground, UnclearPerson, OutOfMemory };
    Outcome outcome = Outcome::NoFace;
    QImage picture; // the replaced picture, or the framed picture itself when refused
    QImage alpha;   // Grayscale8, 255 where the person is; null when refused

    bool replaced() const { return outcome == Outcome::Replaced; }
    // Why nothing was replaced, for the status hint; empty when it was.
    QString refusal() const;
};

// Measures the separation is judged by, for the accuracy report.
struct BackgroundMeasures {
    double backgroundTexture = 0;  // mean gradient of the background away from the edge
    double strongGradient = 0;     // the level its strongest tenth of gradient passes
    double personShare = 0;        // share of the frame that is the person
    double bottomShare = 0;        // share of the bottom row that is the person
    double unsupportedOutline = 0; // share of the person's outline without a visible edge
    double agreement = 0;          // with a plain model of the wall (intersection over union)
    // Grayscale8, the separation judged (255 person), refused or not; at the frame's size, or
    // at the size of the copy a frame past a million pixels is separated on.
    QImage person;
};

// The replacement `part` of the part `inside` of `framed` (the picture's part of a frame that
// passes the picture's edge) put back into the whole frame: the white beyond the picture's
// edge is background too and gets the colour. A refusal leaves `framed` as it is.
BackgroundReplacement placedInFrame(const QImage& framed, const QRect& inside,
                                    const BackgroundReplacement& part, QRgb colour);

// `framed` is the picture under the capture frame (any format; alpha is ignored) and `faces`
// the faces found in it, in its coordinates.
BackgroundReplacement replaceBackground(const QImage& framed, const DetectedFaces& faces,
                                        QRgb colour, BackgroundMeasures* measures = nullptr);

} // namespace portiqa
