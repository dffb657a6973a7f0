// The machine's serial ports as a list of port records, built from the
// serial-port key, and the program's one port list.
#pragma once

#include "app/qel_port.h"
#include "platform/object_list.h"

namespace qel {

// Owns its records.
class TQelPortList : public plat::TObjectList<TQelPort> {
public:
    TQelPortList() : plat::TObjectList<TQelPort>(true) {}

    TQelPort* GetItem(int Index) const { return Items(Index); }

    // Empties the list, then appends one record per value of the machine's
    // serial-port key, in the key's order: port := the value's data, vcp :=
    // the value's name, lower-cased, begins with "\device\vcp". A key that
    // cannot be read ends the listing; the ports listed so far stay.
    // Answers the number of virtual ports.
    int ReadSerialPorts();
};

// The program's port list; the probe threads of the port search write to it.
extern TQelPortList PortList;

} // namespace qel
