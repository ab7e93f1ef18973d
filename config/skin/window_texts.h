// The per-window text arrays: one entry per string id of the window's range,
// read from lang.dll beside the program.
#pragma once

#include <string>
#include <vector>

// Appends the texts of ids first .. first + count - 1 to texts, one entry per id;
// a missing library or id gives an empty entry, so indices keep their meaning.
// The library is opened again at every call and stays loaded.
void LoadWindowTexts(std::vector<std::wstring>& texts, unsigned first, int count);
