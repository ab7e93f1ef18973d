// The settings files: Config.ini and the four profile files in the settings
// folder, shared by both programs. Each file is parsed at most once and written
// at most once per operation; every write replaces its file in one step.
#pragma once

#include "settings/settings_block.h"

#include <string>

// Application-data folder + "\Dravex Orsel RGB\"; empty when the application-data
// folder cannot be determined (paths then resolve against the current folder).
std::wstring SettingsFolder();

// Fills the whole block from Config.ini and the four profile files; a missing
// profile file gives that profile its factory defaults. Copies each loaded
// profile into Config.ini's "Default%d" section. Returns 1.
int LoadSettings(SettingsBlock& block);

// Writes Config.ini's "Setting" section and the four profile files. Returns 1, or
// 0 (with a diagnostic) when any file could not be written; a file that failed
// keeps its previous content.
int SaveSettings(const SettingsBlock& block);

// Fills a profile record from a profile file. Missing integers read as -1, struct
// values that fail their length or checksum test leave their field unchanged,
// strings are cut to their fields. Returns 0 when the file could not be read
// (the record is then filled as from an empty file), 1 otherwise.
int ReadProfileFile(ProfileRecord& record, const std::wstring& path);

// Writes a profile record into a profile file, keeping whatever else the file
// holds. Returns 0 (with a diagnostic) when the file could not be written.
int WriteProfileFile(const ProfileRecord& record, const std::wstring& path);

// First-start check of the service: loads the settings when Config.ini exists,
// otherwise creates the folders and saves factory settings.
void InitSetting(SettingsBlock& block);

// Records the file a profile was exported to: key "FileName" of section
// "Profile%d" (%d = index) in Config.ini. Returns 0 when Config.ini could not be written.
int RecordExportName(int index, const std::wstring& fileName);

// File names inside the settings folder.
std::wstring ConfigIniPath();
std::wstring ProfileFilePath(int profile);
