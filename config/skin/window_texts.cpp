#include "config/skin/window_texts.h"

#include "settings/lang_texts.h"

void LoadWindowTexts(std::vector<std::wstring>& texts, unsigned first, int count) {
    OpenLangLibrary();
    if (count <= 0)
        return;
    for (std::wstring& text : LangTexts(first, static_cast<unsigned>(count)))
        texts.push_back(std::move(text));
}
