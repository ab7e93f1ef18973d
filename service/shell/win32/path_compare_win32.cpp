#include "service/shell/foreground.h"

#include <windows.h>

// Ordinal comparison with case folding is how NTFS compares names; no locale involved.
bool PathsEqualIgnoringCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size())
        return false;
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}
