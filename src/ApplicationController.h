#pragma once
#include <QObject>
namespace reelhound {
class ApplicationController : public QObject {
    Q_OBJECT
};
} // namespace reelhound
