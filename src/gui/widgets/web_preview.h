// Trovecart - the shop preview in an embedded web engine.
#pragma once

class QWidget;
class QUrl;

// Prepares the web engine; call before the application object exists.
void PrepareWebEngine();
// A silent browser (no dialogs of its own) inside parent, showing the page.
QWidget* CreateWebPreview(QWidget* parent, const QUrl& page);
