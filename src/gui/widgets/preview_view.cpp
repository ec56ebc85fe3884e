// Trovecart - preview view factory.
#include "gui/widgets/preview_view.h"

namespace {
TPreviewViewFactory& InstalledFactory() {
    static TPreviewViewFactory factory;
    return factory;
}
} // namespace

void SetPreviewViewFactory(TPreviewViewFactory factory) {
    InstalledFactory() = std::move(factory);
}

QWidget* CreatePreviewView(QWidget* parent, const QUrl& page) {
    return InstalledFactory() ? InstalledFactory()(parent, page) : nullptr;
}
