// Trovecart - the box for a play time in hours, minutes and seconds.
#pragma once

class QLineEdit;
class QWidget;

// Masked to "HH:MM:SS" (two-digit hours), initially "00:00:00".
QLineEdit* NewDurationEdit(QWidget* parent);
