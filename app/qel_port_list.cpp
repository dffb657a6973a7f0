// The port list read from the machine's serial-port key.
#include "app/qel_port_list.h"

#include "platform/ascii_case.h"
#include "platform/registry.h"

#include <memory>

namespace qel {

TQelPortList PortList;

namespace {

const std::string SERIAL_COMM_KEY = "hardware\\devicemap\\serialcomm";
const std::string VIRTUAL_PORT_PREFIX = "\\device\\vcp";

} // namespace

int TQelPortList::ReadSerialPorts()
{
    Clear();
    int virtualPorts = 0;
    try {
        plat::TRegistry registry;
        registry.SetRootKey(plat::HKEY_LOCAL_MACHINE);
        if (!registry.OpenKeyReadOnly(SERIAL_COMM_KEY)) {
            return 0;
        }
        for (const std::string& name : registry.GetValueNames()) {
            auto item = std::make_unique<TQelPort>();
            item->port = registry.ReadString(name);
            item->vcp = plat::FoldCase(name).starts_with(VIRTUAL_PORT_PREFIX);
            virtualPorts += item->vcp ? 1 : 0;
            Add(item.release());
        }
    } catch (const std::exception&) {
        // The ports listed so far stay.
    }
    return virtualPorts;
}

} // namespace qel
