#include "app/widgets/PopUpAccessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>

namespace reelhound {
namespace {

class NamedPopUp : public QAccessibleWidget {
public:
    explicit NamedPopUp(QComboBox* popUp) : QAccessibleWidget(popUp, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value || (kind == QAccessible::Name && name().isEmpty()))
            return popUp()->currentText();
        if (kind == QAccessible::Name)
            return name();
        return QAccessibleWidget::text(kind);
    }

    // The list of items, as the screen reader walks it when the pop-up opens.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(popUp()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == popUp()->view() ? 0 : -1;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction())
            popUp()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QComboBox* popUp() const { return static_cast<QComboBox*>(widget()); }
    QString name() const { return popUp()->accessibleName(); }
};

QAccessibleInterface* namedPopUpFactory(const QString& className, QObject* object) {
    // Editable pop-ups are text fields to a screen reader: Qt's own serves them.
    if (className == QLatin1String("QComboBox") && object && object->isWidgetType()) {
        auto* popUp = static_cast<QComboBox*>(object);
        if (!popUp->isEditable())
            return new NamedPopUp(popUp);
    }
    return nullptr;
}

} // namespace

void nameLabelledPopUps() {
    static const bool installed = [] {
        QAccessible::installFactory(namedPopUpFactory);
        return true;
    }();
    (void)installed;
}

} // namespace reelhound
