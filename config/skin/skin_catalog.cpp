#include "config/skin/skin_catalog.h"

namespace {

std::vector<int> Range(int first, int last) {
    std::vector<int> keys;
    for (int k = first; k <= last; ++k)
        keys.push_back(k);
    return keys;
}

} // namespace

const std::vector<SkinWindowEntry>& SkinCatalog() {
    static const std::vector<SkinWindowEntry> catalog = {
        {L"skin_Config.ini",
         L"Disable",
         {1, 2, 3, 4, 10, 11, 12, 13, 6, 9, 7, 8, 15, 25, 21, 20, 22, 16, 17},
         {{17, 445, 253, 470}, {0, 100, 785, 367}}},
        {L"skin_main.ini", L"Disabled", Range(kKeyPanelFirstKey, kKeyPanelFirstKey + 113), {}},
        {L"skin_Profile.ini",
         L"Disabled",
         {4, 5, 6, 3, 1, 2},
         {{5, 18, 345, 43},
          {24, 100, 307, 130},
          {24, 170, 155, 200},
          {24, 285, 117, 315},
          {24, 311, 154, 341},
          {24, 125, 307, 155},
          {155, 170, 438, 200},
          {117, 285, 397, 315},
          {162, 311, 361, 399}}},
        {L"skin_wait.ini", L"Disabled", {}, {{5, 67, 300, 117}}},
        {L"skin_reset_warn.ini", L"Disabled", {1, 2, 3}, {{8, 9, 255, 25}, {21, 62, 283, 96}}},
        {L"skin_swap_key.ini",
         L"Disabled",
         {2, 3, 5, 4},
         {{7, 33, 302, 57},
          {25, 90, 210, 112},
          {210, 90, 300, 112},
          {25, 112, 285, 134},
          {26, 136, 141, 151}}},
        {L"skin_macro_manager.ini",
         L"Disabled",
         {4, 5, 7, 8, 9, 1, 2, 3, 12, 13, 14, 6, 11},
         {{2, 32, 386, 57}, {286, 153, 368, 291}, {270, 357, 355, 372}}},
        {L"Skin_Macro_control.ini", L"Disabled", Range(4, 9), {}},
        {L"Skin_light_control.ini",
         L"Disabled",
         {0, 1},
         {{407, 145, 639, 156},
          {407, 175, 639, 186},
          {407, 205, 639, 216},
          {304, 66, 324, 250},
          {102, 75, 268, 239},
          {348, 101, 513, 140},
          {514, 101, 679, 140},
          {636, 156, 678, 173},
          {636, 185, 678, 201},
          {636, 214, 678, 231},
          {40, 42, 154, 64},
          {380, 42, 517, 64},
          {348, 79, 514, 101},
          {513, 79, 679, 101}}},
        {L"Skin_color_control.ini", L"Disabled", {1, 0, 20}, {}},
    };
    return catalog;
}
