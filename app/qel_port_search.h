// The search for loggers on the machine's serial ports: it builds the port
// list, starts the probe threads of a search mode once per program, and stops
// and waits for them at the program's end. The main window starts it when it
// shows its start page; nothing reads the result.
#pragma once

#include "app/qel_port_list.h"
#include "app/qel_port_thread.h"
#include "platform/messages.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qel {

// Used from the user-interface thread only; the probe threads write to the
// list's records until Stop.
class TQelPortSearch {
public:
    // WinVersion: the system version code that decides the candidate ports
    // (ProbesEveryPort). List must outlive the search.
    TQelPortSearch(TQelPortList& List, std::int32_t WinVersion)
        : FList(List), FAllPorts(ProbesEveryPort(WinVersion))
    {
    }
    // Stops and waits for the probe threads.
    ~TQelPortSearch();
    TQelPortSearch(const TQelPortSearch&) = delete;
    TQelPortSearch& operator=(const TQelPortSearch&) = delete;

    // The first call reads the port list and starts the probe threads of
    // Mode, which post WM_PORT_STATUS to hWnd as they end: one thread per
    // port in the single-port modes (in mptSEARCH_FAST only for the virtual
    // ports when there are any), one thread with index -2 when the list is
    // empty, one thread with index -1 in mptLIST. Answers the number of
    // threads started; every later call answers 0 and does nothing.
    int Search(plat::HWND hWnd, TQelPortThreadMode Mode);
    // The first call runs Search (hWnd, mptLIST); later calls do nothing.
    void Start(plat::HWND hWnd);
    // Tells every probe thread to stop and waits until all have ended, so
    // that the list can be freed.
    void Stop();

private:
    void StartThread(plat::HWND hWnd, TQelPortThreadMode Mode, std::int32_t Idx);
    // One thread per port for which take answers true (-2 for an empty list).
    template <class TTake>
    void StartPortThreads(plat::HWND hWnd, TQelPortThreadMode Mode, TTake take);

    TQelPortList& FList;
    const bool FAllPorts;
    bool FSearched = false;   // Search has run
    bool FStarted = false;    // Start has run
    std::vector<std::shared_ptr<TQelPortThread>> FThreads;
};

// The program's search over PortList. Part of unit initialisation: the port
// list emptied, the once-only flags cleared, the switches "p:" and "n:" read
// and kept.
void InitPortSearch();
// Stops and waits for the probe threads, then empties the port list. Call
// before the program releases the state the threads may touch.
void FinalizePortSearch();

// The program's search (see TQelPortSearch::Search and Start); nothing
// before InitPortSearch.
int SearchQelPorts(plat::HWND hWnd, TQelPortThreadMode Mode);
void StartPortSearch(plat::HWND hWnd);

// The values of the switches "p:" and "n:" as read at initialisation (empty
// when absent); kept, but nothing uses them.
const std::string& PortSwitchValue();
const std::string& NameSwitchValue();

} // namespace qel
