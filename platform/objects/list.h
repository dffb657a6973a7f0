// TList<T>: an ordered list of pointers that owns nothing, with the index
// checks of the owning object list it shares its code with.
#pragma once

#include "platform/object_list.h"

namespace plat {

// What a list that refuses duplicates does with one.
enum TDuplicates {
    dupIgnore,   // keeps the entry it has; the addition does nothing
    dupAccept,   // adds it anyway
    dupError,    // raises EListError
};

template <class T>
class TList : private TObjectList<T> {
    using TBase = TObjectList<T>;

public:
    TList() : TBase(false) {}

    using TBase::Add;
    using TBase::Clear;
    using TBase::Count;
    using TBase::Delete;
    using TBase::Exchange;
    using TBase::Extract;
    using TBase::First;
    using TBase::IndexOf;
    using TBase::Insert;
    using TBase::Items;
    using TBase::Last;
    using TBase::Move;
    using TBase::Pack;
    using TBase::Remove;
    using TBase::SetItem;
    using TBase::Sort;
    using TBase::operator[];
    using TBase::begin;
    using TBase::end;

    bool Contains(const T* item) const { return IndexOf(item) >= 0; }
};

} // namespace plat
