// Trovecart - failures of the media engine and the conversion layer.
#pragma once

#include "common/app_error.h"

class EMediaError : public EAppError {
public:
    using EAppError::EAppError;
};
