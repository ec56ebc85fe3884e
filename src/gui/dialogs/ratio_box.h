// Trovecart - lets the user pick one of a few choices.
#pragma once

#include <QStringList>

#include "gui/dialogs/parent_dialog.h"

class QButtonGroup;
class QGridLayout;
class QLabel;

class TRatioBox : public TParentDialog {
    Q_OBJECT
public:
    explicit TRatioBox(QWidget* parent = nullptr);

    void SetTitle(const QString& title);
    void SetPrompt(const QString& prompt);
    // The choices, laid out in `columns` columns, with `itemIndex` selected (-1 for none).
    void SetItems(const QStringList& items, int columns, int itemIndex);
    // The selected choice, -1 for none.
    int ItemIndex() const;

private:
    QLabel* titleLabel_;
    QLabel* promptLabel_;
    QGridLayout* choices_;
    QButtonGroup* group_;
};
