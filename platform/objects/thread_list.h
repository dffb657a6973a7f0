// TThreadList<T>: a pointer list shared between threads; every access goes
// through LockList / UnlockList or the locked shortcuts.
#pragma once

#include "platform/objects/list.h"

#include <mutex>

namespace plat {

template <class T>
class TThreadList {
public:
    // Add refuses items already in the list as duplicates says (dupIgnore
    // by default).
    TDuplicates Duplicates = dupIgnore;

    void Add(T* item)
    {
        std::lock_guard lock(FLock);
        if (Duplicates != dupAccept && FList.Contains(item)) {
            if (Duplicates == dupError) {
                throw EListError("List does not allow duplicates");
            }
            return;
        }
        FList.Add(item);
    }

    void Remove(T* item)
    {
        std::lock_guard lock(FLock);
        FList.Remove(item);
    }

    void Clear()
    {
        std::lock_guard lock(FLock);
        FList.Clear();
    }

    // Locks the list for the calling thread and hands it out; every
    // LockList needs its UnlockList.
    TList<T>& LockList()
    {
        FLock.lock();
        return FList;
    }
    void UnlockList() { FLock.unlock(); }

private:
    std::mutex FLock;
    TList<T> FList;
};

} // namespace plat
