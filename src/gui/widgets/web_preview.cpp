// Trovecart - web engine preview.
#include "gui/widgets/web_preview.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

// Script dialogs and certificate questions of the front end never reach the user.
class TSilentPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override {}
};

} // namespace

void PrepareWebEngine() {
    // The engine's sandbox refuses to run as root, and many machines here have no GPU.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

QWidget* CreateWebPreview(QWidget* parent, const QUrl& page) {
    auto* view = new QWebEngineView(parent);
    view->setPage(new TSilentPage(view));
    view->setUrl(page);
    return view;
}
