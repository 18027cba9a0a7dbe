// The monitor's message protocol, in one place for both sides of every message: the codes of the
// broadcast message BroadcastMsgId (its wParam) and what their lParams say, the numbers a window
// hands its pages with adapter news, the profile wizard's modes, and the open request other
// programs send.
#pragma once

#include <cstdint>

// Codes of the broadcast message.
constexpr uintptr_t bmOpenUtility = 1;        // open the program as the tray's Open item does
constexpr uintptr_t bmDeviceListChanged = 2;  // the adapters present changed (device detection)
constexpr uintptr_t bmStatusUpdated = 3;      // a poll finished (adapter worker)
// 4 is never sent: it is only the adapter event type aeControlSwitched.
constexpr uintptr_t bmShowPage = 5;             // lParam spInfoPage or spProfilePage
constexpr uintptr_t bmProfileSaved = 6;         // store EditProfile; lParam a wizard mode (below)
constexpr uintptr_t bmApplyPickedNetwork = 7;   // to the wizard: connect with the picked network
constexpr uintptr_t bmProfileApplied = 8;       // a profile was applied (adapter worker)
constexpr uintptr_t bmCloseDialogs = 9;         // open dialogs end, the main window hides
constexpr uintptr_t bmIgnoreDeviceChange = 10;  // lParam dcIgnore or dcHeed

// lParam of bmShowPage: the page the main window shows.
constexpr intptr_t spInfoPage = 1;  // link information, on its status panel
constexpr intptr_t spProfilePage = 2;

// lParam of bmIgnoreDeviceChange, sent around a change of the adapter's IP settings.
constexpr intptr_t dcIgnore = 1;  // device changes start no detection from now
constexpr intptr_t dcHeed = 0;

// Modes of the profile wizard. The mode is also the lParam of the wizard's bmProfileSaved:
// WizardModeEdit replaces the profile being edited, every other value (the link information
// page sends WizardModeNew) adds it as new.
constexpr int WizardModeNew = 1;
constexpr int WizardModeEdit = 2;
constexpr int WizardModeFirstRun = 513;  // no usable profile exists yet
// Set in the modes that let a network picked on the first page replace the profile's settings.
constexpr int WizardModeTakesPickedNetwork = 0x1;

// Kinds of AdapterChanged.
constexpr int acAttached = 1;  // with the adapter worker
constexpr int acDetached = 2;

// Types of AdapterEvent: the broadcast code that brought the news, and the control switch.
constexpr int aeStatusUpdated = static_cast<int>(bmStatusUpdated);
constexpr int aeControlSwitched = 4;  // value 1: the program's control switched on, 0: off
constexpr int aeProfileApplied = static_cast<int>(bmProfileApplied);

// Another program's request to open the main window (WM_USER + 1001); answered with 1 when sent.
constexpr uint32_t kMsgOpenProgram = 0x7E9;
