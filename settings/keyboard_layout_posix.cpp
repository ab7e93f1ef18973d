#include "settings/us_keyboard_layout.h"

const KeyboardLayout& PlatformKeyboardLayout() { return UsLayout(); }
