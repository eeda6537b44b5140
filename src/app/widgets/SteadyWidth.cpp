#include "app/widgets/SteadyWidth.h"

#include <QPushButton>
#include <algorithm>

namespace reelhound {

void keepWidthOfWidestTitle(QPushButton& button, const QStringList& titles) {
    const QString shown = button.text();
    int widest = 0;
    for (const QString& title : titles) {
        button.setText(title);
        widest = std::max(widest, button.sizeHint().width());
    }
    button.setText(shown);
    button.setMinimumWidth(widest);
}

} // namespace reelhound
