#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

namespace reelhound {

// Keeps the keyboard on a usable control: when the focused control goes out
// of use (disabled or hidden as work starts or ends), the focus moves to the
// control the successor names, so it is never left nowhere.
class FocusKeeper {
public:
    using Successor = std::function<QWidget*()>;
    // The holder is a control that is never out of use: it keeps the focus
    // while the successor is itself briefly out of use.
    FocusKeeper(QWidget& window, QWidget& holder, Successor successor);

    QWidget* focused() const { return window_.focusWidget(); }
    void handOn(QWidget* focusedBefore);

private:
    QWidget& window_;
    QWidget& holder_;
    Successor successor_;
    // Where the focus goes once it is usable again, while it waits at the holder.
    QPointer<QWidget> owedTo_;
    QPointer<QWidget> parkedAt_;
};

// Hands the focus on, if need be, once the controls changed in its scope.
class FocusHandOver {
public:
    explicit FocusHandOver(FocusKeeper& keeper) : keeper_(keeper), before_(keeper.focused()) {}
    ~FocusHandOver() { keeper_.handOn(before_); }
    FocusHandOver(const FocusHandOver&) = delete;
    FocusHandOver& operator=(const FocusHandOver&) = delete;

private:
    FocusKeeper& keeper_;
    QPointer<QWidget> before_;
};

} // namespace reelhound
