#pragma once

#include <QProgressBar>

namespace reelhound {

// A progress bar that keeps the exact value it was given (the bar itself only
// has whole steps) and that can also be an indeterminate activity indicator,
// which moves only while it is animating.
class ProgressIndicator : public QProgressBar {
    Q_OBJECT
    Q_PROPERTY(bool indeterminate READ isIndeterminate WRITE setIndeterminate)

public:
    explicit ProgressIndicator(QWidget* parent = nullptr);

    // Determinate form: a percentage from 0 to 100. Values outside are kept
    // exactly and drawn clamped.
    void setDoubleValue(double value);
    double doubleValue() const { return doubleValue_; }

    bool isIndeterminate() const { return indeterminate_; }
    void setIndeterminate(bool indeterminate);

    void startAnimation();
    void stopAnimation();
    bool isAnimating() const { return animating_; }

private:
    void updateBar();

    double doubleValue_ = 0.0;
    bool indeterminate_ = false;
    bool animating_ = false;
};

} // namespace reelhound
