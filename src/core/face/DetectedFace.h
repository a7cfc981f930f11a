#pragma once

// A face found in a picture, in the picture's own pixel coordinates (the full picture's,
// also when it was found on a reduced copy), and the head measures the framing works from.

#include <QPointF>
#include <QRectF>

#include <vector>

namespace portiqa {

struct DetectedFace {
    QRectF box;             // the detector's face box (brows to chin, cheek to cheek)
    bool eyesFound = false; // both eyes were found inside the box
    QPointF leftEye;        // centre of the eye on the picture's left
    QPointF rightEye;       // centre of the eye on the picture's right
    // The face's landmarks were fitted: the eyes above come from them, and so do these.
    bool landmarksFound = false;
    QPointF chin;
    QPointF leftCheek; // cheek to cheek at the height of the nose's root
    QPointF rightCheek;
    // The top of the head with its hair, as the picture shows it (HeadTop); without it the
    // measures assume a typical head.
    bool topFound = false;
    double topY = 0;
    bool topAtPictureEdge = false; // the hair runs out of the picture at its top

    // The same face in a picture scaled by (sx, sy).
    DetectedFace scaled(double sx, double sy) const;
};

using DetectedFaces = std::vector<DetectedFace>;

// What the framing needs of a head, estimated from the face box and the eyes.
struct HeadMeasures {
    double centreX = 0;  // the face's horizontal centre (between the eyes)
    double eyeLineY = 0; // the eye line
    double chinY = 0;
    double crownY = 0;     // the top of the head, hair included
    double faceWidth = 0;  // cheek to cheek
    bool crownCut = false; // the picture itself ends inside the hair
    double headHeight() const { return chinY - crownY; }
};

class HeadEstimate {
public:
    // Fitted landmarks give the eye line, the centre, the chin and the face width as they are.
    // Without them, found eyes give the eye line and the centre, and with the box the face
    // width and the chin; without eyes everything comes from the box. The crown is the top
    // the picture showed, else as far above the eye line as the face is wide x 0.91 (a
    // typical head with its hair: the skull follows the face's width, not the jaw).
    static HeadMeasures measure(const DetectedFace& face);
    // The largest face by box area; null when there is none.
    static const DetectedFace* largest(const DetectedFaces& faces);
};

} // namespace portiqa
