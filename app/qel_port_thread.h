// The probe thread of the port search: probes one port, or every candidate
// port of the list one after the other, and tells a window when it has ended.
#pragma once

#include "app/qel_port_list.h"
#include "platform/messages.h"
#include "platform/serial_port.h"
#include "platform/worker_thread.h"

#include <cstdint>
#include <memory>

namespace qel {

class TQelProbe;

// Posted once when a probe thread ends: wParam its mode, lParam its port
// index (-1 in the list mode, -2 when the list was empty).
constexpr plat::UINT WM_PORT_STATUS = plat::WM_USER + 2;

enum TQelPortThreadMode : std::uint8_t {
    mptSEARCH_ALL = 0,    // single-port modes: one thread per port
    mptSEARCH_FAST = 1,
    mptSEARCH_LIST = 2,
    mptLIST = 3,          // one thread for the whole list
};

// Whether the system version code makes every port a candidate for the
// 9600 Bd probe: only the codes 1 to 5 of the old systems do. Any other code,
// the 0 of this system among them, leaves the virtual (USB serial) ports alone
// as candidates, so that no other serial device is opened, has DTR raised
// (which resets many boards) or is sent frames unasked.
bool ProbesEveryPort(std::int32_t WinVersion);

class TQelPortThread : public plat::TThread {
public:
    // Creates the thread and starts it. List must outlive the thread; the
    // thread writes only the records it probes.
    static std::shared_ptr<TQelPortThread> Create(plat::HWND hWindow, TQelPortThreadMode Mode, std::int32_t Idx,
                                                  TQelPortList& List, bool AllPorts);

    TQelPortThread(plat::HWND hWindow, TQelPortThreadMode Mode, std::int32_t Idx, TQelPortList& List, bool AllPorts)
        : FhWindow(hWindow), FMode(Mode), FIdx(Idx), FList(List), FAllPorts(AllPorts)
    {
    }

protected:
    // A stop request cancels the probe's waits at once; the list mode then
    // probes no further port.
    void Execute() override;

private:
    void Probe();
    void ProbeOnePort(TQelProbe& Probe, TQelPort& Port) const;

    const plat::HWND FhWindow;          // receives WM_PORT_STATUS
    const TQelPortThreadMode FMode;
    const std::int32_t FIdx;            // the probed port's index; -1 in the list mode, -2 for an empty list
    TQelPortList& FList;
    const bool FAllPorts;               // every port is a candidate (see ProbesEveryPort)
    plat::TCancelHandle FCancel;        // wakes the probe's waits on a stop request
};

} // namespace qel
