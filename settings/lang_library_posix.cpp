#include "settings/lang_texts.h"

// There is no resource library natively: every text is empty unless a test
// installs a TextSource.
bool OpenLangLibrary() { return false; }

bool OpenLangLibraryAt(const std::wstring&) { return false; }

std::wstring LibraryText(unsigned) { return std::wstring(); }
