// Texts by string id from the localisation library lang.dll beside the running
// program. A missing library or a missing id gives the empty text; nothing else
// changes. Natively (tests) texts come from an installed TextSource.
#pragma once

#include <string>
#include <vector>

class TextSource {
public:
    virtual ~TextSource() = default;
    // The empty text when the source has no text for the id.
    virtual std::wstring Text(unsigned id) const = 0;
};

// Installs a source in place of the library; nullptr returns to the library.
void SetTextSource(const TextSource* source);

// Loads "lang.dll" from the folder of the running program (the process-wide handle
// is kept for the life of the process). False when there is none.
bool OpenLangLibrary();
// The same with a library path of the caller's choice.
bool OpenLangLibraryAt(const std::wstring& path);

// One text, read into 520 characters (at most 519 come back).
std::wstring LangText(unsigned id);
// Texts first .. first + count - 1, one entry per id even when empty.
std::vector<std::wstring> LangTexts(unsigned first, unsigned count);

constexpr size_t kLangTextBufferChars = 520;

// Platform twin: the text from the opened library.
std::wstring LibraryText(unsigned id);
