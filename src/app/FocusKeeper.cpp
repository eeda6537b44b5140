#include "app/FocusKeeper.h"

#include <utility>

namespace reelhound {
namespace {

bool usable(const QWidget* control) {
    return control != nullptr && control->isEnabled() && control->isVisibleTo(control->window());
}

} // namespace

FocusKeeper::FocusKeeper(QWidget& window, QWidget& holder, Successor successor)
    : window_(window), holder_(holder), successor_(std::move(successor)) {}

void FocusKeeper::handOn(QWidget* focusedBefore) {
    if (window_.focusWidget() != parkedAt_)
        owedTo_ = nullptr; // the person has moved it since
    if (owedTo_ && usable(owedTo_)) {
        std::exchange(owedTo_, nullptr)->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (focusedBefore == nullptr || usable(focusedBefore))
        return;
    // The focused control went out of use (Qt has moved the focus to whatever
    // follows in the Tab chain, or nowhere).
    QWidget* const successor = successor_();
    if (usable(successor)) {
        successor->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Briefly out of use itself (a cancel on its way out): the holder keeps
    // the focus until the successor is back.
    holder_.setFocus(Qt::OtherFocusReason);
    owedTo_ = successor;
    parkedAt_ = &holder_;
}

} // namespace reelhound
