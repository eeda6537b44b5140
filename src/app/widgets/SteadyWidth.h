#pragma once

#include <QStringList>

class QPushButton;

namespace reelhound {

// Gives a button that changes its title as work starts and ends the width of
// its widest title, so neither it nor its neighbours move when it changes.
void keepWidthOfWidestTitle(QPushButton& button, const QStringList& titles);

} // namespace reelhound
