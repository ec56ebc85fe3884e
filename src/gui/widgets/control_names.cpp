// Trovecart - control names.
#include "gui/widgets/control_names.h"

#include <QAbstractButton>
#include <QWidget>

void NameControl(QWidget* control, const char* objectName, const QString& accessibleName) {
    control->setObjectName(QString::fromLatin1(objectName));
    QString spoken = accessibleName;
    if (spoken.isEmpty()) {
        if (const auto* button = qobject_cast<const QAbstractButton*>(control))
            spoken = button->text().remove(QLatin1Char('&')).simplified();
    }
    if (!spoken.isEmpty())
        control->setAccessibleName(spoken);
}
