// Trovecart - state shared by all writes of one shop document.
#pragma once

struct TXMLSaveContext {
    // Products are numbered 1, 2, 3 ... across all categories in document order.
    int ProductCounter = 0;
};
