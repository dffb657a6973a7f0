// Small program-wide services: the edition flag and caption decorator, the
// dormant diagnostic log, and the window message that tells the suite's
// programs that new data files exist.
#pragma once

#include "platform/messages.h"

#include <string>

namespace qel {

inline const std::string SUITE_MESSAGE_NAME = "QEL.QEL-PRO.MSG.V1";

// The registered number of SUITE_MESSAGE_NAME (0 when the registration
// failed); set by RegisterSuiteMessage before the main window exists, then
// only read. The main window broadcasts it after each finished save with
// wParam = its application window's handle and lParam = 0.
extern plat::UINT WM_SUITE_NOTIFY;
void RegisterSuiteMessage();

// Always false in this program: the settings key, the settings saved at
// exit, the block-file savers, the log and the caption behave accordingly.
bool IsValidatedEdition();

// The window title, unchanged in this edition.
std::string InternCaption(const std::string& Text);

// The diagnostic log; switched off with the edition flag, so these do nothing.
void LogInit(plat::HWND Owner, const std::string& AppName);
void LogText(const std::string& Text);
void LogClose();

} // namespace qel
