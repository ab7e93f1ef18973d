// Loading and saving whole INI files through the file-system seam.
#pragma once

#include "settings/ini_document.h"

#include <string>

// Parses the file into doc; false (and an empty document) when it cannot be read.
bool LoadIniFile(const std::wstring& path, IniDocument* doc);
// Writes the document as UTF-16LE with a byte-order mark, replacing the file in
// one step; false when the write failed (the old file is then unchanged).
bool SaveIniFile(const std::wstring& path, const IniDocument& doc);

// Writes the document back after a LoadIniFile of the same path that returned
// `existed`: nothing when the file existed and nothing changed; and never over a
// file that exists but could not be read, whose content would otherwise be lost.
// False (with a diagnostic) when the file was not written as asked.
bool UpdateIniFile(const std::wstring& path, const IniDocument& doc, bool existed, bool changed);
