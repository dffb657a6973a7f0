// The probe thread of the port search.
#include "app/qel_port_thread.h"

#include "app/qel_probe.h"
#include "foundations/settings.h"

#include <stop_token>

namespace qel {

bool ProbesEveryPort(std::int32_t WinVersion)
{
    return WinVersion >= 1 && WinVersion <= 5;
}

std::shared_ptr<TQelPortThread> TQelPortThread::Create(plat::HWND hWindow, TQelPortThreadMode Mode, std::int32_t Idx,
                                                       TQelPortList& List, bool AllPorts)
{
    auto thread = std::make_shared<TQelPortThread>(hWindow, Mode, Idx, List, AllPorts);
    thread->Start();
    return thread;
}

void TQelPortThread::Execute()
{
    const std::stop_callback cancelOnStop(StopToken(), [this] { FCancel.Cancel(); });
    try {
        Probe();
    } catch (...) {
        // An error inside a probe ends the probing; the end is still reported.
    }
    plat::PostMessage(FhWindow, WM_PORT_STATUS, FMode, FIdx);
}

void TQelPortThread::Probe()
{
    TQelProbe probe(FCancel, RegPrototype.VersionPC);
    if (FMode == mptLIST) {
        for (int i = 0; i < FList.Count() && !Terminated(); ++i) {
            TQelPort& port = *FList.GetItem(i);
            if (port.vcp || FAllPorts) {
                probe.ProbeCrc8(port);
            }
        }
        return;
    }
    if (FIdx >= 0 && FIdx < FList.Count()) {
        ProbeOnePort(probe, *FList.GetItem(FIdx));
    }
}

void TQelPortThread::ProbeOnePort(TQelProbe& Probe, TQelPort& Port) const
{
    if (!FAllPorts) {
        if (Port.vcp) {
            Probe.ProbeCrc8(Port);
        } else {
            Probe.ProbeCrc16(Port);
        }
        return;
    }
    Probe.ProbeCrc8(Port);
    if (Port.error == mpeCOM && !Terminated()) {
        Probe.ProbeCrc16(Port);
    }
}

} // namespace qel
