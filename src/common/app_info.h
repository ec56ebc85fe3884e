// Trovecart - the program's fixed identity.
#pragma once

#include <QString>

// The main window's caption; message boxes use it as their title.
inline QString ProgramCaption() {
    return QStringLiteral("Corvalen Trovecart 2.20");
}
