#include "settings/lang_texts.h"

#include <atomic>

namespace {
std::atomic<const TextSource*> g_source{nullptr};
}

void SetTextSource(const TextSource* source) { g_source.store(source); }

std::wstring LangText(unsigned id) {
    const TextSource* source = g_source.load();
    std::wstring text = source ? source->Text(id) : LibraryText(id);
    if (text.size() >= kLangTextBufferChars) {
        text.resize(kLangTextBufferChars - 1);
    }
    return text;
}

std::vector<std::wstring> LangTexts(unsigned first, unsigned count) {
    std::vector<std::wstring> texts;
    texts.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        texts.push_back(LangText(first + i));
    }
    return texts;
}
