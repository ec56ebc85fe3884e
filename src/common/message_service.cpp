// Trovecart - the installed message service.
#include "common/message_service.h"

#include <atomic>

namespace {

class TSilentMessageService final : public TMessageService {
public:
    using TMessageService::ShowMessageBox;
    int ShowMessageBox(TMessageOwner, const QString&, int, const QString&, const QString&) override {
        return mrNone;
    }
    int AskQuestion(TMessageOwner, const QString&, bool, int, const QString&, const QString&) override {
        return mrNone;
    }
};

TSilentMessageService silentService;
std::atomic<TMessageService*> installedService{nullptr};

} // namespace

void SetMessageService(TMessageService* service) {
    installedService.store(service);
}

TMessageService& MessageService() {
    TMessageService* service = installedService.load();
    return service ? *service : silentService;
}
