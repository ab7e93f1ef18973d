#include "config/skin/button_pos.h"

#include <climits>
#include <cstdint>

namespace {

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f';
}

// One "%d" conversion: leading white space, optional sign, digits. Values that do
// not fit an int saturate instead of wrapping.
bool ReadInt(std::wstring_view text, size_t& pos, int& out) {
    size_t p = pos;
    while (p < text.size() && IsSpace(text[p]))
        ++p;
    bool negative = false;
    if (p < text.size() && (text[p] == L'+' || text[p] == L'-')) {
        negative = text[p] == L'-';
        ++p;
    }
    const size_t digits = p;
    int64_t value = 0;
    while (p < text.size() && text[p] >= L'0' && text[p] <= L'9') {
        if (value <= INT_MAX)
            value = value * 10 + (text[p] - L'0');
        ++p;
    }
    if (p == digits)
        return false;
    if (negative)
        value = -value;
    out = static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
    pos = p;
    return true;
}

int SaturatedSum(int a, int b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    return static_cast<int>(sum < INT_MIN ? INT_MIN : sum > INT_MAX ? INT_MAX : sum);
}

} // namespace

ButtonPos ParseButtonPos(std::wstring_view value) {
    ButtonPos result;
    std::wstring_view numbers = value;
    const size_t comma = value.find(L',');
    if (comma != std::wstring_view::npos) {
        result.label = std::wstring(value.substr(0, comma < kButtonPosLabelMax ? comma : kButtonPosLabelMax));
        numbers = value.substr(comma + 1);
    }

    int fields[4] = {0, 0, 0, 0};
    size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (pos >= numbers.size() || numbers[pos] != L',')
                break;
            ++pos;
        }
        if (!ReadInt(numbers, pos, fields[i]))
            break;
    }
    result.rect.left = fields[0];
    result.rect.top = fields[1];
    result.rect.right = SaturatedSum(fields[0], fields[2]);
    result.rect.bottom = SaturatedSum(fields[1], fields[3]);
    return result;
}
