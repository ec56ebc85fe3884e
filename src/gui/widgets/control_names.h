// Trovecart - the names by which tests, scripts and screen readers find a control.
#pragma once

#include <QString>

class QWidget;

// Gives the control the name the program knows it by, and the name a screen reader says: its
// visible label or its group's title for an input, what it does for a picture-only button. A
// button with a caption is called by its caption when no other name is given.
void NameControl(QWidget* control, const char* objectName, const QString& accessibleName = QString());
