#pragma once

// A photo-like test picture made from a seed: a lit background gradient, a head-and-shoulders
// figure with soft edges, textured hair and cloth, and sensor noise. It exercises the JPEG paths
// the way a real headshot does (smooth areas, edges, fine texture) without shipping photos.

#include <QImage>

#include <cstdint>

namespace portiqa::test {

QImage syntheticPhoto(int width, int height, std::uint32_t seed = 1);

} // namespace portiqa::test
