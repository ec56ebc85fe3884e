// Trovecart - duration box.
#include "gui/widgets/duration_edit.h"

#include <QLineEdit>

QLineEdit* NewDurationEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setInputMask(QStringLiteral("90:00:00;_"));
    edit->setText(QStringLiteral("00:00:00"));
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")) + 20);
    return edit;
}
