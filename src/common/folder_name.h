// Trovecart - the check of a new folder's name (local folder picker and FTP browser).
#pragma once

#include <QString>

// Empty when the name is acceptable; otherwise the message to show.
QString FolderNameError(const QString& name);
