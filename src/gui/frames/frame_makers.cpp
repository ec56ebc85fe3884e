// Trovecart - frame makers.
#include "gui/frames/frame_makers.h"

#include "gui/frame_host.h"
#include "gui/frames/shop_frame.h"
#include "shop/shop_document.h"

namespace {

template <class TFrame, class TData>
std::unique_ptr<TBaseFrame> MakeFrame(const TFrameRequest& request, TData* data) {
    auto frame = std::make_unique<TFrame>();
    frame->SetShop(&request.shop);
    frame->SetData(data);
    frame->SetNode(request.node);
    return frame;
}

} // namespace

void RegisterFrameMakers(TFrameHost& host) {
    host.SetMaker(TFrameKind::Shop, [](const TFrameRequest& request) {
        return MakeFrame<TShopFrame>(request, &request.shop.ShopConfig());
    });
}
