// Trovecart - the installed dialog service.
#include "common/dialog_service.h"

#include <atomic>

#include "common/app_error.h"

namespace {
std::atomic<TDialogService*> installedService{nullptr};
}

void SetDialogService(TDialogService* service) {
    installedService.store(service);
}

TDialogService& DialogService() {
    TDialogService* service = installedService.load();
    if (!service)
        throw EAppError(QStringLiteral("No dialog service is installed."));
    return *service;
}
