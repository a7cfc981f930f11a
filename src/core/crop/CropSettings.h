#pragma once

// What the headless crop command makes of every picture: the output size and file type, the
// JPEG size limit, and how the frame is laid over the picture. The same choices the window
// offers, gathered in one value so that each worker can take its own copy.

#include "core/background/BackgroundColour.h"
#include "core/output/OutputOptions.h"

#include <QSize>
#include <QString>

namespace portiqa {

enum class CropFraming {
    Face,   // the automatic face framing of the window (自动框选人脸)
    Centre, // the fitted, centred view of a picture just opened in the window
};

// What happens to a picture in which no face is found while framing by face.
enum class NoFacePolicy { Skip, Centre };

struct CropSettings {
    QSize outputSize{358, 441};
    double maxKb = 500;         // the JPEG size limit, as the size-limit field holds it
    QString extension = ".jpg"; // lower case with its dot: .jpg .png .bmp .gif
    CropFraming framing = CropFraming::Face;
    NoFacePolicy noFace = NoFacePolicy::Skip;
    OutputOptions output;        // resolution, minimum size, best picture: as the window's saves
    BackgroundColour background; // replaced in the framed picture, as the window shows it
};

// The picture area of a freshly started main window whose output size was typed in: the
// design area, grown the way the window grows when the frame and its margin no longer fit.
// Framing a picture in this area gives the window's zoom and so the window's pixels.
QSize pictureAreaForOutput(QSize outputSize);

} // namespace portiqa
