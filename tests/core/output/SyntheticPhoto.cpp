#include "SyntheticPhoto.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace portiqa::test {

namespace {

double smoothStep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

struct Rgb {
    double r, g, b;
};

Rgb mix(const Rgb& a, const Rgb& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

} // namespace

QImage syntheticPhoto(int width, int height, std::uint32_t seed) {
    QImage image(width, height, QImage::Format_RGB888);
    std::mt19937 random(seed);
    std::normal_distribution<double> grain(0.0, 3.0);
    std::uniform_real_distribution<double> phase(0.0, 6.28);
    const double p1 = phase(random), p2 = phase(random), p3 = phase(random);

    const double cx = width * 0.5, faceY = height * 0.38;
    const double faceRx = width * 0.24, faceRy = height * 0.22;
    for (int y = 0; y < height; ++y) {
        uchar* line = image.scanLine(y);
        const double v = double(y) / std::max(1, height - 1);
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / std::max(1, width - 1);
            // Background: a blue-grey wall lit from the upper left with slow blotches.
            const double light =
                0.75 + 0.2 * (1 - u) * (1 - v) + 0.04 * std::sin(7 * u + p1) * std::cos(5 * v + p2);
            Rgb colour{120 * light, 150 * light, 190 * light};

            // Shoulders and cloth with a woven texture.
            const double shoulder =
                (y - height * 0.72) - 0.0009 * height * std::pow((x - cx) / width * 10, 2);
            const double cloth = smoothStep(-2, 2, -shoulder + 0 * u);
            const double weave = 10 * std::sin(x * 0.9 + p3) * std::sin(y * 0.7);
            colour = mix(colour, Rgb{60 + weave, 55 + weave, 70 + weave}, 1 - cloth);

            // Face: an ellipse lit from the left, with eyes and a mouth.
            const double dx = (x - cx) / faceRx, dy = (y - faceY) / faceRy;
            const double r = std::sqrt(dx * dx + dy * dy);
            const double face = 1 - smoothStep(0.96, 1.02, r);
            const double shade = 0.8 + 0.25 * (-dx * 0.6 - dy * 0.3) - 0.15 * r * r;
            Rgb skin{225 * shade, 180 * shade, 150 * shade};
            const double eyeL = std::hypot((x - (cx - faceRx * 0.4)) / (faceRx * 0.16),
                                           (y - (faceY - faceRy * 0.1)) / (faceRy * 0.07));
            const double eyeR = std::hypot((x - (cx + faceRx * 0.4)) / (faceRx * 0.16),
                                           (y - (faceY - faceRy * 0.1)) / (faceRy * 0.07));
            const double eyes = 1 - smoothStep(0.8, 1.1, std::min(eyeL, eyeR));
            skin = mix(skin, Rgb{40, 30, 30}, eyes);
            const double mouth = std::hypot((x - cx) / (faceRx * 0.35),
                                            (y - (faceY + faceRy * 0.5)) / (faceRy * 0.06));
            skin = mix(skin, Rgb{170, 80, 80}, 1 - smoothStep(0.8, 1.1, mouth));
            colour = mix(colour, skin, face);

            // Hair: fine strands over the top of the head.
            const double hairR = std::hypot(dx, (y - (faceY - faceRy * 0.25)) / (faceRy * 1.0));
            const double hair = (1 - smoothStep(1.0, 1.08, hairR)) * smoothStep(-0.2, -0.45, dy);
            const double strand = 18 * std::sin(x * 1.7 + 3 * std::sin(y * 0.05 + p1));
            colour = mix(colour, Rgb{50 + strand, 35 + strand, 25 + strand}, hair);

            line[3 * x + 0] = uchar(std::clamp(colour.r + grain(random), 0.0, 255.0));
            line[3 * x + 1] = uchar(std::clamp(colour.g + grain(random), 0.0, 255.0));
            line[3 * x + 2] = uchar(std::clamp(colour.b + grain(random), 0.0, 255.0));
        }
    }
    return image;
}

} // namespace portiqa::test
