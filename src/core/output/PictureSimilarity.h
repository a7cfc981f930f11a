#pragma once

// How close a decoded JPEG comes to the picture it was made from: the structural similarity
// (SSIM) of the luma and of both chroma planes, over the 8 x 8 windows that tile them, weighted 8 :
// 1 : 1. SSIM follows what the eye sees (blocking, blur, colour bleeding at edges) better than the
// mean squared error does, and the chroma terms are what tells 4:4:4 from 4:2:0 apart.

#include <QByteArray>
#include <QImage>

#include <memory>

namespace portiqa {

// 1 for identical pictures; lower is worse. Pictures of different sizes give 0.
double pictureSimilarity(const QImage& original, const QImage& decoded);

// The same with the original's planes worked out once, for comparing several files of it.
class SimilarityReference {
public:
    explicit SimilarityReference(const QImage& original);
    double similarity(const QImage& decoded) const;
    // The same for a JPEG file of it, compared in the file's own Y, Cb and Cr; 0 for a file
    // that cannot be decoded.
    double similarityOfJpeg(const QByteArray& file) const { return planesOfJpeg(file).combined(); }

    struct PlaneSimilarity {
        double luma = 0;
        double chroma = 0; // the mean of Cb and Cr
        double combined() const { return (8 * luma + 2 * chroma) / 10; }
    };
    // Luma and chroma apart, for telling where a file loses its detail.
    PlaneSimilarity planesOfJpeg(const QByteArray& file) const;

private:
    struct Planes;
    std::shared_ptr<const Planes> planes_;
};

// The mean squared error as peak signal-to-noise ratio in dB over R, G and B (for reports).
double peakSignalToNoise(const QImage& original, const QImage& decoded);

} // namespace portiqa
