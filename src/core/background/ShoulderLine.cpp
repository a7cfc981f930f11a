#include "core/background/ShoulderLine.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace portiqa::background {

namespace {

// Colours are compared this many pixels above and below a step, so that a soft edge counts
// as one step and noise does not.
constexpr int kStepReach = 3;
// Neighbouring columns move the line by at most this many rows: shoulders fall steeply
// beside the neck.
constexpr int kJump = 5;
// What a column is worth where its shoulder lies below the frame: about a step the eye
// sees, so that the line leaves the picture only where no such step is in the column.
constexpr float kBelowFrameWorth = 18.0f;

// The colour step (Lab distance of the means above and below) at each row of column `x`.
std::vector<float> steps(const cv::Mat& lab, int x) {
    const int rows = lab.rows;
    std::vector<cv::Vec3f> sum(size_t(rows + 1), cv::Vec3f(0, 0, 0));
    for (int y = 0; y < rows; ++y) {
        sum[size_t(y + 1)] = sum[size_t(y)] + lab.at<cv::Vec3f>(y, x);
    }
    std::vector<float> out(size_t(rows), 0.0f);
    for (int y = kStepReach; y + kStepReach < rows; ++y) {
        const cv::Vec3f above = (sum[size_t(y)] - sum[size_t(y - kStepReach)]) / kStepReach;
        const cv::Vec3f below = (sum[size_t(y + 1 + kStepReach)] - sum[size_t(y + 1)]) / kStepReach;
        out[size_t(y)] = float(cv::norm(below - above));
    }
    out[size_t(rows - 1)] = kBelowFrameWorth;
    return out;
}

// The line of greatest summed step over `columns` (in order from the frame's side inward),
// each between row `top` and the last row, moving at most kJump rows per column.
std::vector<int> strongestLine(const cv::Mat& lab, const std::vector<int>& columns, int top) {
    const int count = lab.rows - top;
    std::vector<float> total(size_t(count), 0.0f);
    std::vector<float> next(static_cast<size_t>(count));
    std::vector<std::vector<int>> from(columns.size(), std::vector<int>(size_t(count), 0));
    for (size_t i = 0; i < columns.size(); ++i) {
        const std::vector<float> s = steps(lab, columns[i]);
        for (int k = 0; k < count; ++k) {
            float best = i == 0 ? 0.0f : -std::numeric_limits<float>::infinity();
            int bestAt = k;
            if (i > 0) {
                for (int p = std::max(0, k - kJump); p <= std::min(count - 1, k + kJump); ++p) {
                    if (total[size_t(p)] > best) {
                        best = total[size_t(p)];
                        bestAt = p;
                    }
                }
            }
            next[size_t(k)] = best + s[size_t(top + k)];
            from[i][size_t(k)] = bestAt;
        }
        total.swap(next);
    }
    std::vector<int> line(columns.size());
    int at = int(std::max_element(total.begin(), total.end()) - total.begin());
    for (size_t i = columns.size(); i-- > 0;) {
        line[i] = top + at;
        at = from[i][size_t(at)];
    }
    return line;
}

} // namespace

ShoulderLine findShoulders(const cv::Mat& small, const HeadMeasures& m, double scale) {
    cv::Mat lab;
    cv::GaussianBlur(small, lab, cv::Size(3, 3), 0);
    cv::cvtColor(lab, lab, cv::COLOR_BGR2Lab);
    lab.convertTo(lab, CV_32FC3);
    // In a tight frame the shoulders rise to the middle of the face; the columns end where
    // the neck begins.
    const int top = std::clamp(int((m.eyeLineY + m.chinY) / 2 * scale), 0, lab.rows - 1);
    const int leftEnd = std::clamp(int((m.centreX - 0.5 * m.faceWidth) * scale), 0, lab.cols);
    const int rightStart = std::clamp(int((m.centreX + 0.5 * m.faceWidth) * scale), 0, lab.cols);
    ShoulderLine line;
    std::vector<int> columns;
    for (int x = 0; x < leftEnd; ++x) {
        columns.push_back(x);
    }
    if (!columns.empty()) {
        line.left = strongestLine(lab, columns, top);
    }
    columns.clear();
    for (int x = lab.cols - 1; x >= rightStart; --x) {
        columns.push_back(x);
    }
    if (!columns.empty()) {
        line.right = strongestLine(lab, columns, top);
    }
    return line;
}

void markBelowShoulders(const ShoulderLine& line, int margin, cv::Mat& mask) {
    const auto mark = [&](int x, int top) {
        for (int y = std::max(0, top + margin + 1); y < mask.rows; ++y) {
            uchar& label = mask.at<uchar>(y, x);
            if (label != cv::GC_FGD) {
                label = cv::GC_PR_FGD;
            }
        }
    };
    for (size_t i = 0; i < line.left.size(); ++i) {
        mark(int(i), line.left[i]);
    }
    for (size_t i = 0; i < line.right.size(); ++i) {
        mark(mask.cols - 1 - int(i), line.right[i]);
    }
}

} // namespace portiqa::background
