// Trovecart - lets the user pick one of a few choices.
#pragma once

#include <QStringList>

#include "gui/dialogs/parent_dialog.h"

class QButtonGroup;
class QGridLayout;
class QGroupBox;
class QLabel;

class TRatioBox : public TParentDialog {
    Q_OBJECT
public:
    explicit TRatioBox(QWidget* parent = nullptr);

    void SetTitle(const QString& title);
    const QString& Title() const { return title_; }
    // Line breaks may be written "\r\n" or "\r".
    void SetPrompt(const QString& prompt);
    const QString& Prompt() const { return prompt_; }
    // The choices, laid out in `columns` columns, with `itemIndex` selected (-1 for none).
    void SetItems(const QStringList& items, int columns, int itemIndex);
    // The selected choice, -1 for none.
    int ItemIndex() const;

private:
    QLabel* titleLabel_;
    QLabel* promptLabel_;
    QGroupBox* choiceBox_;
    QGridLayout* choices_;
    QButtonGroup* group_;
    QString title_;
    QString prompt_;
};
