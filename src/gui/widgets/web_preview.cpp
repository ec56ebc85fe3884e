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
    // The view shows the page and owns it.
    explicit TSilentPage(QWebEngineView* view) : QWebEnginePage(view), view_(view) {}

protected:
    // The pop-up launcher opens the shop in a window of its own, sized as the launcher asks; the
    // window belongs to the preview's window and closes with it.
    QWebEnginePage* createWindow(WebWindowType) override {
        auto* window = new QWebEngineView(view_->window());
        window->setWindowFlag(Qt::Window);
        window->setAttribute(Qt::WA_DeleteOnClose);
        auto* page = new TSilentPage(window);
        window->setPage(page);
        connect(page, &QWebEnginePage::geometryChangeRequested, window,
                [window](const QRect& geometry) { window->resize(geometry.size()); });
        connect(page, &QWebEnginePage::windowCloseRequested, window, &QWidget::close);
        connect(page, &QWebEnginePage::titleChanged, window, &QWidget::setWindowTitle);
        window->show();
        return page;
    }

    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override {}

private:
    QWebEngineView* view_;
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
