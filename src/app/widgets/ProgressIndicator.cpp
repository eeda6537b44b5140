#include "app/widgets/ProgressIndicator.h"

#include <algorithm>
#include <cmath>

namespace reelhound {
namespace {

constexpr int kStepsPerPercent = 10;
constexpr int kMaximumSteps = 100 * kStepsPerPercent;

} // namespace

ProgressIndicator::ProgressIndicator(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(false);
    updateBar();
}

void ProgressIndicator::setDoubleValue(double value) {
    doubleValue_ = value;
    updateBar();
}

void ProgressIndicator::setIndeterminate(bool indeterminate) {
    indeterminate_ = indeterminate;
    updateBar();
}

void ProgressIndicator::startAnimation() {
    animating_ = true;
    updateBar();
}

void ProgressIndicator::stopAnimation() {
    animating_ = false;
    updateBar();
}

void ProgressIndicator::updateBar() {
    if (indeterminate_) {
        // Qt animates a bar whose range is empty; a stopped one stays empty.
        setRange(0, animating_ ? 0 : 1);
        setValue(0);
        return;
    }
    setRange(0, kMaximumSteps);
    const double steps = std::isfinite(doubleValue_) ? doubleValue_ * kStepsPerPercent : 0.0;
    setValue(
        static_cast<int>(std::clamp(std::lround(steps), 0L, static_cast<long>(kMaximumSteps))));
}

} // namespace reelhound
