// Trovecart - Qt message boxes.
#include "gui/qt_message_service.h"

#include <algorithm>

#include <QLabel>
#include <QMessageBox>
#include <QScreen>

namespace {

QMessageBox::Icon IconOfKind(int kind) {
    switch (kind) {
    case mkWarning:
        return QMessageBox::Warning;
    case mkError:
        return QMessageBox::Critical;
    case mkInformation:
    case mkInformation2:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int ResultOfButton(int button) {
    switch (button) {
    case QMessageBox::Cancel:
        return mrCancel;
    case QMessageBox::Retry:
        return mrRetry;
    case QMessageBox::Yes:
        return mrYes;
    case QMessageBox::No:
        return mrNo;
    case QMessageBox::Abort:
    case QMessageBox::Close:
        return mrAbort;
    default:
        return mrOk;
    }
}

constexpr int kTextWidth = 420;

} // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const QString& text, int kind,
                                            const QString& heading, const QString& title, int buttons) {
    auto box = std::make_unique<QMessageBox>(IconOfKind(kind), title, heading,
                                             QMessageBox::StandardButtons(buttons), parent);
    box->setTextFormat(Qt::RichText);
    box->setText(QStringLiteral("<b>%1</b>").arg(heading.toHtmlEscaped()));
    box->setInformativeText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    // The box sizes itself to its labels' minimum, which for wrapped text is a few words.
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
        const QScreen* screen = box->screen();
        const int room = screen ? screen->availableGeometry().width() / 2 : kTextWidth;
        label->setMinimumWidth(std::min(kTextWidth, room));
    }
    return box;
}

int TQtMessageService::Show(TMessageOwner owner, const QString& text, int kind, const QString& heading,
                            const QString& title, int buttons) {
    QWidget* parent = owner ? static_cast<QWidget*>(owner) : mainWindow_;
    return ResultOfButton(MakeMessageBox(parent, text, kind, heading, title, buttons)->exec());
}

int TQtMessageService::ShowMessageBox(TMessageOwner owner, const QString& text, int kind,
                                      const QString& heading, const QString& title) {
    return Show(owner, text, kind, heading, title, QMessageBox::Ok);
}

int TQtMessageService::AskQuestion(TMessageOwner owner, const QString& text, bool withCancel, int kind,
                                   const QString& heading, const QString& title) {
    int buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    return Show(owner, text, kind, heading, title, buttons);
}
