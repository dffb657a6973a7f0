// The port search: the port list, its probe threads and the program's one search.
#include "app/qel_port_search.h"

#include "foundations/win_tools.h"

namespace qel {

TQelPortSearch::~TQelPortSearch()
{
    Stop();
}

int TQelPortSearch::Search(plat::HWND hWnd, TQelPortThreadMode Mode)
{
    if (FSearched) {
        return 0;
    }
    FSearched = true;
    const int virtualPorts = FList.ReadSerialPorts();
    switch (Mode) {
    case mptSEARCH_ALL:
    case mptSEARCH_LIST:
        StartPortThreads(hWnd, Mode, [](const TQelPort&) { return true; });
        break;
    case mptSEARCH_FAST:
        StartPortThreads(hWnd, Mode, [virtualPorts](const TQelPort& port) { return port.vcp || virtualPorts == 0; });
        break;
    case mptLIST:
        StartThread(hWnd, mptLIST, -1);
        break;
    default:
        break;   // any other value starts no thread
    }
    return static_cast<int>(FThreads.size());
}

template <class TTake>
void TQelPortSearch::StartPortThreads(plat::HWND hWnd, TQelPortThreadMode Mode, TTake take)
{
    if (FList.Count() == 0) {
        StartThread(hWnd, Mode, -2);
        return;
    }
    for (int i = 0; i < FList.Count(); ++i) {
        TQelPort& port = *FList.GetItem(i);
        if (take(port)) {
            port.search = true;
            StartThread(hWnd, Mode, i);
        }
    }
}

void TQelPortSearch::StartThread(plat::HWND hWnd, TQelPortThreadMode Mode, std::int32_t Idx)
{
    FThreads.push_back(TQelPortThread::Create(hWnd, Mode, Idx, FList, FAllPorts));
}

void TQelPortSearch::Start(plat::HWND hWnd)
{
    if (!FStarted) {
        FStarted = true;
        Search(hWnd, mptLIST);
    }
}

void TQelPortSearch::Stop()
{
    for (const auto& thread : FThreads) {
        thread->Terminate();
    }
    for (const auto& thread : FThreads) {
        thread->WaitFor();
    }
    FThreads.clear();
}

namespace {

std::unique_ptr<TQelPortSearch> ProgramSearch;
std::string PortSwitch;   // "p:"
std::string NameSwitch;   // "n:"

} // namespace

void InitPortSearch()
{
    FinalizePortSearch();
    ProgramSearch = std::make_unique<TQelPortSearch>(PortList, GetWinVersion());
    PortSwitch = GetParamValue("p:", "");
    NameSwitch = GetParamValue("n:", "");
}

void FinalizePortSearch()
{
    ProgramSearch.reset();
    PortList.Clear();
    PortSwitch.clear();
    NameSwitch.clear();
}

int SearchQelPorts(plat::HWND hWnd, TQelPortThreadMode Mode)
{
    return ProgramSearch ? ProgramSearch->Search(hWnd, Mode) : 0;
}

void StartPortSearch(plat::HWND hWnd)
{
    if (ProgramSearch) {
        ProgramSearch->Start(hWnd);
    }
}

const std::string& PortSwitchValue()
{
    return PortSwitch;
}

const std::string& NameSwitchValue()
{
    return NameSwitch;
}

} // namespace qel
