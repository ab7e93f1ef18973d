// Test support: a temporary application-data folder for the settings files.
// While an instance lives, the process-wide file system is the platform's own
// with its application-data folder inside a fresh temporary folder, wrapped so
// tests can see every write and make chosen writes fail. One instance at a time.
#pragma once

#include "settings/file_system.h"

#include <memory>
#include <string>
#include <vector>

// Delegates to another file system, records the paths written and fails writes
// to paths that contain a chosen text.
class RecordingFileSystem : public FileSystem {
public:
    explicit RecordingFileSystem(FileSystem& inner) : inner_(inner) {}

    bool ReadWholeFile(const std::wstring& path, std::string* bytes) const override;
    bool WriteFileAtomically(const std::wstring& path, const std::string& bytes) override;
    bool FileExists(const std::wstring& path) const override;
    bool CreateFolder(const std::wstring& path) override;
    std::wstring AppDataFolder() override;

    // Paths of the successful and failed writes since the last ClearLog.
    const std::vector<std::wstring>& Writes() const { return writes_; }
    mutable std::vector<std::wstring> reads;
    void ClearLog();
    // Writes to any path containing this text fail; empty = none fail.
    void FailWritesContaining(std::wstring text) { failText_ = std::move(text); }
    // Reads of any path containing this text fail (the file stays where it is).
    void FailReadsContaining(std::wstring text) { failReadText_ = std::move(text); }

private:
    FileSystem& inner_;
    std::vector<std::wstring> writes_;
    std::wstring failText_;
    std::wstring failReadText_;
};

class TempSettingsFolder {
public:
    TempSettingsFolder();
    ~TempSettingsFolder();
    TempSettingsFolder(const TempSettingsFolder&) = delete;
    TempSettingsFolder& operator=(const TempSettingsFolder&) = delete;

    RecordingFileSystem& Files() { return *recording_; }
    // The application-data folder as the settings code sees it (no trailing separator).
    const std::wstring& AppData() const { return appData_; }

    // Files relative to the settings folder, e.g. L"config\\Default2.gkp".
    bool Exists(const std::wstring& relative) const;
    std::string Read(const std::wstring& relative) const;
    bool Write(const std::wstring& relative, const std::string& bytes);
    bool Remove(const std::wstring& relative);

private:
    std::string root_;
    std::wstring appData_;
    std::unique_ptr<FileSystem> platform_;
    std::unique_ptr<RecordingFileSystem> recording_;
};
