// Trovecart - errors of the shop document and its files.
#pragma once

#include "common/app_error.h"

class EShopError : public EAppError {
public:
    using EAppError::EAppError;
};
