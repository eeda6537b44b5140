#include "app/widgets/ScrollingContent.h"

#include <QStyle>

namespace reelhound {

ScrollingContent::ScrollingContent(QWidget* content, QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(content);
    // The scroll area is no stop of its own: Tab goes straight to the controls,
    // and the area scrolls each into view as it takes the focus.
    setFocusPolicy(Qt::NoFocus);
}

void ScrollingContent::setLargestMinimumSize(const QSize& size) {
    largestMinimum_ = size;
    updateGeometry();
}

QSize ScrollingContent::minimumSizeHint() const {
    const QSize content = widget()->minimumSizeHint();
    QSize hint = content;
    // Scrolling one way takes a scroll bar's room the other way.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    if (content.height() > largestMinimum_.height())
        hint.rwidth() += bar;
    if (content.width() > largestMinimum_.width())
        hint.rheight() += bar;
    return hint.boundedTo(largestMinimum_);
}

QSize ScrollingContent::sizeHint() const {
    return widget()->sizeHint().expandedTo(widget()->minimumSizeHint());
}

} // namespace reelhound
