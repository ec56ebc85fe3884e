// Trovecart - errors of the shop document and its files.
#pragma once

#include <cstddef>

#include "common/app_error.h"

class EShopError : public EAppError {
public:
    using EAppError::EAppError;
};

// Sound XML with content the shop cannot take; knows where the element at fault starts.
class EShopContentError : public EShopError {
public:
    // offset: bytes from the start of the document's text, -1 when unknown.
    EShopContentError(const QString& message, ptrdiff_t offset) : EShopError(message), offset_(offset) {}
    ptrdiff_t Offset() const { return offset_; }

private:
    ptrdiff_t offset_;
};
