// What the two programs know of each other: they find each other's windows by title
// and talk through one posted message.
#pragma once

constexpr wchar_t kServiceStartingTitle[] = L"Orsel_Gaming_Keyboard_RGB_Hid";
constexpr wchar_t kServiceWindowTitle[] = L"Vo Orsel RGB GamingKeyboardMonitor";
constexpr wchar_t kConfigWindowTitle[] = L"Dravex Orsel RGB Keyboard";
constexpr unsigned kConfigMessage = 1224; // WM_USER + 200, both directions
