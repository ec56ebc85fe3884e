// Trovecart - the XML-backed bases of every catalogue entry and collection.
#pragma once

#include <memory>
#include <vector>

#include <QString>
#include <QtGlobal>

#include "shop/editor_view.h"
#include "shop/xml_save_context.h"

namespace pugi {
class xml_node;
}

class TXMLItemCollection;
class TXmlWriter;

// A catalogue entry that knows its place in its owning collection and points at its editor view.
class TXMLCollectionItem {
public:
    TXMLCollectionItem();
    TXMLCollectionItem(const TXMLCollectionItem&) = delete;
    TXMLCollectionItem& operator=(const TXMLCollectionItem&) = delete;
    virtual ~TXMLCollectionItem() = default;

    const QString& Name() const { return name_; }
    void SetName(const QString& name) { name_ = name; }

    // Unique among the entries made during the run; never reused and never stored. Lets a view
    // follow an entry while it changes places.
    quint64 Id() const { return id_; }
    // Position in the owning collection, -1 when the entry belongs to none.
    int Index() const { return index_; }
    TXMLItemCollection* Collection() const { return collection_; }

    // Copies the name; concrete entries copy all their stored fields from a source of their class.
    virtual void Assign(const TXMLCollectionItem& source);
    virtual void LoadFromXML(const pugi::xml_node& element) = 0;
    // Writes the entry as an element named elementName.
    virtual void SaveToXML(TXmlWriter& out, TXMLSaveContext& context, const QString& elementName) const = 0;

    // The view made for this entry, owned by the GUI; null until one is made.
    TEditorView* EditorView() const { return editor_; }
    void SetEditorView(TEditorView* view) { editor_ = view; }
    // The view's answer, or true when no view was made.
    bool CanLeaveEditor() const { return editor_ ? editor_->CanLeave() : true; }

private:
    friend class TXMLItemCollection;

    QString name_;
    quint64 id_;
    TXMLItemCollection* collection_ = nullptr;
    int index_ = -1;
    TEditorView* editor_ = nullptr;
};

// An ordered, index-addressed list of entries of one class that owns its entries.
class TXMLItemCollection {
public:
    explicit TXMLItemCollection(QString nodeName) : nodeName_(std::move(nodeName)) {}
    TXMLItemCollection(const TXMLItemCollection&) = delete;
    TXMLItemCollection& operator=(const TXMLItemCollection&) = delete;
    virtual ~TXMLItemCollection() = default;

    const QString& NodeName() const { return nodeName_; }
    void SetNodeName(const QString& nodeName) { nodeName_ = nodeName; }

    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EAppError for an index out of range.
    TXMLCollectionItem* ItemAt(int index) const;
    void Delete(int index);
    void Clear();
    // Gives the entry at `from` the position `to`; the entries between shift by one.
    void Move(int from, int to);
    bool IsFirst(const TXMLCollectionItem* item) const {
        return item && item->collection_ == this && item->index_ == 0;
    }
    // True for an entry of no collection, or for the last entry of its collection.
    static bool IsLast(const TXMLCollectionItem* item);

    // Copies the node name and replaces the entries by deep copies of the source's.
    virtual void Assign(const TXMLItemCollection& source);
    // Replaces the entries by one per child of `element` named elementName (NodeName when empty).
    virtual void LoadFromXML(const pugi::xml_node& element, const QString& elementName = QString());
    // Writes every entry; the collection writes no element of its own.
    virtual void SaveToXML(TXmlWriter& out, TXMLSaveContext& context,
                           const QString& elementName = QString()) const;

protected:
    virtual std::unique_ptr<TXMLCollectionItem> CreateItem() const = 0;
    TXMLCollectionItem* InsertItem(int index);

private:
    void CheckIndex(int index) const;
    void Renumber(int from);

    QString nodeName_;
    std::vector<std::unique_ptr<TXMLCollectionItem>> items_;
};

// The typed face of a collection whose entries are all of class TItem.
template <class TItem> class TTypedCollection : public TXMLItemCollection {
public:
    using TXMLItemCollection::TXMLItemCollection;

    TItem* Add() { return static_cast<TItem*>(InsertItem(Count())); }
    TItem* Insert(int index) { return static_cast<TItem*>(InsertItem(index)); }
    TItem* Items(int index) const { return static_cast<TItem*>(ItemAt(index)); }
    TItem* Last() const { return Items(Count() - 1); }

protected:
    std::unique_ptr<TXMLCollectionItem> CreateItem() const override { return std::make_unique<TItem>(); }
};
