// The file-system seam of the settings files. Paths are Windows paths with
// backslashes, as the settings code builds them; the native implementation maps
// them onto a real folder so the same logic runs in tests on Linux.
#pragma once

#include <memory>
#include <string>

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The whole file; false when it cannot be opened or read.
    virtual bool ReadWholeFile(const std::wstring& path, std::string* bytes) const = 0;
    // Writes beside the target and replaces it in one step, so a crash leaves
    // either the old file or the new one. False when anything failed; the old
    // file is then left as it was.
    virtual bool WriteFileAtomically(const std::wstring& path, const std::string& bytes) = 0;
    virtual bool FileExists(const std::wstring& path) const = 0;
    // True only when the folder was created (false when it existed already).
    virtual bool CreateFolder(const std::wstring& path) = 0;
    // The per-user application-data folder without a trailing separator, created
    // if missing; empty when it cannot be determined.
    virtual std::wstring AppDataFolder() = 0;
};

// Installs the process-wide file system; nullptr restores the platform's own.
// The caller keeps ownership and keeps the object alive while installed.
void SetFileSystem(FileSystem* fileSystem);
FileSystem& ActiveFileSystem();

// Platform twin (file_system_posix.cpp / win32/file_system_win32.cpp).
FileSystem& PlatformFileSystem();
// The platform's file system with the application-data folder fixed to the given
// folder (tests, benchmarks).
std::unique_ptr<FileSystem> MakeFileSystemWithAppData(const std::wstring& appDataFolder);
