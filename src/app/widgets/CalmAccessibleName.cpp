#include "app/widgets/CalmAccessibleName.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

namespace reelhound {
namespace {

class CalmName : public QObject {
public:
    CalmName(QLabel& line, const QString& what) : QObject(&line), line_(line), what_(what) {
        setObjectName(QStringLiteral("calmAccessibleName"));
        pending_.setSingleShot(true);
        connect(&pending_, &QTimer::timeout, this, &CalmName::apply);
        apply();
    }

    void textChanged() {
        if (pending_.isActive())
            return; // the latest text goes out when the quiet time is over
        const qint64 since = lastApplied_.isValid() ? lastApplied_.elapsed() : kCalmNameIntervalMs;
        // An emptied line is said at once: the work it told of has ended.
        if (since >= kCalmNameIntervalMs || line_.text().isEmpty())
            apply();
        else
            pending_.start(static_cast<int>(kCalmNameIntervalMs - since));
    }

private:
    void apply() {
        pending_.stop();
        const QString text = line_.text();
        line_.setAccessibleName(text.isEmpty() ? what_
                                               : QStringLiteral("%1: %2").arg(what_, text));
        lastApplied_.start();
    }

    QLabel& line_;
    const QString what_;
    QTimer pending_;
    QElapsedTimer lastApplied_;
};

} // namespace

void nameLineCalmly(QLabel& line, const QString& what) {
    new CalmName(line, what);
}

void lineTextChanged(QLabel& line) {
    for (QObject* child : line.children()) {
        if (child->objectName() == QLatin1String("calmAccessibleName"))
            static_cast<CalmName*>(child)->textChanged();
    }
}

} // namespace reelhound
