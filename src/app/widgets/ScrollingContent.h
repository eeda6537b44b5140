#pragma once

#include <QScrollArea>

namespace reelhound {

// The window's content in a scroll area that asks for the content's own
// sizes, so the window keeps the layout's minimum and natural size; on a
// screen too small for that minimum the window asks for no more than fits,
// and the content scrolls.
class ScrollingContent : public QScrollArea {
    Q_OBJECT

public:
    explicit ScrollingContent(QWidget* content, QWidget* parent = nullptr);

    // The most the minimum may be; the content scrolls below its own minimum.
    void setLargestMinimumSize(const QSize& size);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

private:
    QSize largestMinimum_{QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
};

} // namespace reelhound
