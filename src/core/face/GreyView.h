#pragma once

// An 8-bit grey QImage seen as an OpenCV matrix, without a copy: the picture must outlive the
// view and stay unchanged while it is used (OpenCV and dlib only read it here).

#include <QImage>

#include <opencv2/core/mat.hpp>

namespace portiqa {

inline cv::Mat greyView(const QImage& grey) {
    return cv::Mat(grey.height(), grey.width(), CV_8UC1, const_cast<uchar*>(grey.constBits()),
                   static_cast<size_t>(grey.bytesPerLine()));
}

} // namespace portiqa
