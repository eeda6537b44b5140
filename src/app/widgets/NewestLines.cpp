#include "app/widgets/NewestLines.h"

#include <QFontMetrics>
#include <QLabel>
#include <QRegularExpression>
#include <QStringList>
#include <QTextLayout>

#include <algorithm>

namespace reelhound {
namespace {

// The rows one line takes at the width, in order.
QStringList wrappedRows(const QString& line, const QFont& font, int width) {
    if (width <= 0)
        return {line};
    QTextLayout layout(line, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList rows;
    layout.beginLayout();
    for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine()) {
        row.setLineWidth(width);
        rows << line.mid(row.textStart(), row.textLength()).trimmed();
    }
    layout.endLayout();
    return rows;
}

} // namespace

QString newestLinesThatFit(const QString& text, const QLabel& label) {
    static const QRegularExpression lineEnd(QStringLiteral("[\r\n]"));
    const QRect area = label.contentsRect();
    const int lineSpacing = QFontMetrics(label.font()).lineSpacing();
    const int capacity = std::max(1, lineSpacing > 0 ? area.height() / lineSpacing : 1);

    QStringList shown;
    const QStringList lines = text.split(lineEnd, Qt::SkipEmptyParts);
    for (auto line = lines.crbegin(); line != lines.crend() && shown.size() < capacity; ++line) {
        if (line->trimmed().isEmpty())
            continue;
        const QStringList rows = wrappedRows(*line, label.font(), area.width());
        for (auto row = rows.crbegin(); row != rows.crend() && shown.size() < capacity; ++row)
            shown.prepend(*row);
    }
    return shown.join(u'\n');
}

} // namespace reelhound
