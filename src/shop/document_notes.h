// Trovecart - what reading or writing a shop document had to change: no error, but worth telling.
#pragma once

#include <QStringList>

// Collects the notes made on its thread while it lives; an inner collector hides an outer one.
class TDocumentNotes {
public:
    TDocumentNotes();
    ~TDocumentNotes();
    TDocumentNotes(const TDocumentNotes&) = delete;
    TDocumentNotes& operator=(const TDocumentNotes&) = delete;

    const QStringList& Notes() const { return notes_; }
    // Adds the note to this thread's innermost collector; without one it is dropped.
    static void Add(const QString& note);

private:
    TDocumentNotes* outer_;
    QStringList notes_;
};
