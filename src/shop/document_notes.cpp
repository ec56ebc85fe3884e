// Trovecart - notes on a shop document.
#include "shop/document_notes.h"

namespace {

thread_local TDocumentNotes* innermost = nullptr;

} // namespace

TDocumentNotes::TDocumentNotes() : outer_(innermost) {
    innermost = this;
}

TDocumentNotes::~TDocumentNotes() {
    innermost = outer_;
}

void TDocumentNotes::Add(const QString& note) {
    if (innermost)
        innermost->notes_.append(note);
}
