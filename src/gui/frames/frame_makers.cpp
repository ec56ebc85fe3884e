// Trovecart - frame makers.
#include "gui/frames/frame_makers.h"

#include "gui/frame_host.h"
#include "gui/frames/av_item_frame.h"
#include "gui/frames/category_frame.h"
#include "gui/frames/image_item_frame.h"
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

template <class TFrame, class TData> TFrameMaker MakerFor() {
    return [](const TFrameRequest& request) {
        return MakeFrame<TFrame>(request, dynamic_cast<TData*>(request.entry));
    };
}

} // namespace

void RegisterFrameMakers(TFrameHost& host) {
    host.SetMaker(TFrameKind::Shop, [](const TFrameRequest& request) {
        return MakeFrame<TShopFrame>(request, &request.shop.ShopConfig());
    });
    host.SetMaker(TFrameKind::Category, MakerFor<TCategoryFrame, TCategory>());
    host.SetMaker(TFrameKind::ImageProduct, MakerFor<TImageItemFrame, TCartItem>());
    host.SetMaker(TFrameKind::MediaProduct, MakerFor<TAVItemFrame, TCartItem>());
    host.SetMaker(TFrameKind::BaseProduct, MakerFor<TItemBaseFrame, TCartItem>());
}
