// Trovecart - the embedded browser that shows the shop preview, behind a factory so that tests
// and machines without a web engine run without one.
#pragma once

#include <functional>

#include <QUrl>
#include <QWidget>

// Creates a browser widget inside parent showing the page, with no dialogs of its own, or null
// when no browser is available.
using TPreviewViewFactory = std::function<QWidget*(QWidget* parent, const QUrl& page)>;

// The factory installed at start-up; without one the preview area stays empty.
void SetPreviewViewFactory(TPreviewViewFactory factory);
QWidget* CreatePreviewView(QWidget* parent, const QUrl& page);
