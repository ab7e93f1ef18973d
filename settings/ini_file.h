// Loading and saving whole INI files through the file-system seam.
#pragma once

#include "settings/ini_document.h"

#include <string>

// Parses the file into doc; false (and an empty document) when it cannot be read.
bool LoadIniFile(const std::wstring& path, IniDocument* doc);
// Writes the document as UTF-16LE with a byte-order mark, replacing the file in
// one step; false when the write failed (the old file is then unchanged).
bool SaveIniFile(const std::wstring& path, const IniDocument& doc);
