// Trovecart - choice box.
#include "gui/dialogs/ratio_box.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

TRatioBox::TRatioBox(QWidget* parent)
    : TParentDialog(parent), titleLabel_(new QLabel(this)), promptLabel_(new QLabel(this)),
      group_(new QButtonGroup(this)) {
    QFont headingFont = titleLabel_->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    headingFont.setBold(true);
    titleLabel_->setFont(headingFont);

    choiceBox_ = new QGroupBox(this);
    choices_ = new QGridLayout(choiceBox_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TRatioBox::CloseWithOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &TRatioBox::CloseWithCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleLabel_);
    layout->addWidget(promptLabel_);
    layout->addWidget(choiceBox_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TRatioBox::SetTitle(const QString& title) {
    title_ = title;
    titleLabel_->setText(title);
    choiceBox_->setAccessibleName(title);
}

void TRatioBox::SetPrompt(const QString& prompt) {
    prompt_ = prompt;
    promptLabel_->setText(QString(prompt)
                              .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                              .replace(QLatin1Char('\r'), QLatin1Char('\n')));
}

void TRatioBox::SetItems(const QStringList& items, int columns, int itemIndex) {
    for (QAbstractButton* button : group_->buttons()) {
        group_->removeButton(button);
        delete button;
    }
    columns = std::max(columns, 1);
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items.at(i));
        group_->addButton(button, i);
        // Filled column by column, as radio groups lay out their items.
        choices_->addWidget(button, i % std::max(rows, 1), i / std::max(rows, 1));
        button->setChecked(i == itemIndex);
    }
}

int TRatioBox::ItemIndex() const {
    return group_->checkedId();
}
