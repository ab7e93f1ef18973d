#include "settings/ini_document.h"
#include "settings/ini_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

IniDocument Doc(std::u16string_view text) {
    IniDocument doc;
    doc.Parse(text);
    return doc;
}

std::string Ascii(std::u16string_view s) { return std::string(s.begin(), s.end()); }

TEST(IniDocument, StringLookups) {
    const IniDocument doc = Doc(u"; comment\r\n"
                                u"top=before any section\r\n"
                                u"[Setting]\r\n"
                                u"  Name  =  padded value  \r\n"
                                u"dup=first\r\n"
                                u"DUP=second\r\n"
                                u"quoted=\"in quotes\"\r\n"
                                u"single='single'\r\n"
                                u"half=\"open\r\n"
                                u"noequals\r\n"
                                u"empty=\r\n"
                                u"[Other\n"
                                u"x=y\n"
                                u"[setting]\r\n"
                                u"later=in the second copy\r\n"
                                u"[ Spaced ]\n"
                                u"k=v\n"
                                u"[Tail] trailing text\n"
                                u"t=1\n");
    struct Case {
        const char16_t* section;
        const char16_t* key;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"Setting", u"name", u"padded value"},
        {u"SETTING", u" Name ", u"padded value"},
        {u"Setting", u"dup", u"first"},
        {u"Setting", u"quoted", u"in quotes"},
        {u"Setting", u"single", u"single"},
        {u"Setting", u"half", u"\"open"},
        {u"Setting", u"noequals", u"default"},
        {u"Setting", u"empty", u""},
        {u"Setting", u"later", u"default"}, // only the first of duplicate sections is searched
        {u"Setting", u"missing", u"default"},
        {u"", u"top", u"default"}, // lines before any section belong to no section
        {u"Spaced", u"k", u"v"},   // blanks inside the brackets do not count
        {u" Spaced ", u"k", u"v"},
        {u"Setting", u"x", u"y"}, // a line without ']' is a key of the section before
        {u"Setting", u"[Other", u"default"},
        {u"tail", u"t", u"1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Ascii(doc.GetString(c.section, c.key, u"default", 8192)), Ascii(c.expected))
            << Ascii(c.section) << "/" << Ascii(c.key);
    }
}

TEST(IniDocument, BufferLimits) {
    std::u16string longValue(9000, u'a');
    const IniDocument doc = Doc(u"[s]\r\nlong=" + longValue + u"\r\nq=\"abcd\"\r\n");
    EXPECT_EQ(doc.GetString(u"s", u"long", u"", 8192).size(), 8191u);
    EXPECT_EQ(Ascii(doc.GetString(u"s", u"q", u"", 6)), "abcd");
    // Exactly the platform's cut when the quoted value only just fits.
    EXPECT_EQ(Ascii(doc.GetString(u"s", u"q", u"", 5)), "abc");
    EXPECT_EQ(Ascii(doc.GetString(u"s", u"q", u"", 4)), "abc");
    EXPECT_EQ(Ascii(doc.GetString(u"s", u"q", u"", 3)), "ab");
    EXPECT_EQ(Ascii(doc.GetString(u"s", u"none", u"dflt  ", 8192)), "dflt");
}

TEST(IniDocument, Integers) {
    const IniDocument doc = Doc(u"[s]\r\n"
                                u"a=12\r\nb= -5\r\nc=0x1F\r\nd=12abc\r\ne=abc\r\nf=\r\ng=4294967295\r\n"
                                u"h=\"7\"\r\ni=+3\r\nj=0X10\r\nk=0b101\r\nl=0o17\r\nm=99999999999\r\n");
    struct Case {
        const char16_t* key;
        int32_t expected;
    };
    const Case cases[] = {
        {u"a", 12},       {u"b", -5},
        {u"c", 31},       {u"d", 12},
        {u"e", 0},        {u"f", -1},
        {u"g", -1},       {u"h", 7},
        {u"i", 3},        {u"j", 0},
        {u"k", 5},        {u"l", 15},
        {u"missing", -1}, {u"m", static_cast<int32_t>(99999999999LL & 0xFFFFFFFF)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(doc.GetInt(u"s", c.key, -1), c.expected) << Ascii(c.key);
    }
}

TEST(IniDocument, Structs) {
    const uint8_t data[3] = {0x01, 0xAB, 0xFF};
    EXPECT_EQ(Ascii(EncodeStructValue(data, 3)), "01ABFFAB");
    const IniDocument doc =
        Doc(u"[s]\r\nok=01ABFFAB\r\nlower=01abffab\r\nsum=01ABFFAC\r\n"
            u"short=01ABAC\r\nlong=01ABFF00AB\r\nbad=01ABFGAB\r\nodd=01ABFF0AB\r\nnovalue\r\n");
    struct Case {
        const char16_t* key;
        bool accepted;
    };
    const Case cases[] = {
        {u"ok", true},   {u"lower", true}, {u"sum", false},     {u"short", false},   {u"long", false},
        {u"bad", false}, {u"odd", false},  {u"missing", false}, {u"novalue", false},
    };
    for (const Case& c : cases) {
        uint8_t out[3] = {7, 7, 7};
        EXPECT_EQ(doc.GetStruct(u"s", c.key, out, 3), c.accepted) << Ascii(c.key);
        if (c.accepted) {
            EXPECT_EQ(std::memcmp(out, data, 3), 0);
        } else {
            EXPECT_EQ(out[0], 7);
            EXPECT_EQ(out[2], 7);
        }
    }
}

TEST(IniDocument, WritesThePlatformsLayout) {
    IniDocument doc;
    EXPECT_TRUE(doc.SetString(u"Setting", u"ProFileName", u"  #1"));
    EXPECT_TRUE(doc.SetInt(u"Setting", u"LtFlag ", 3));
    EXPECT_TRUE(doc.SetInt(u"setting", u"ltflag", 4));
    EXPECT_FALSE(doc.SetInt(u"Setting", u"LtFlag", 4));
    EXPECT_TRUE(doc.SetString(u"Other", u"k", u"line\r\nbreak"));
    EXPECT_EQ(Ascii(doc.Serialize()),
              "[Setting]\r\nProFileName=#1\r\nLtFlag=4\r\n[Other]\r\nk=line  break\r\n");
}

TEST(IniDocument, KeepsWhatItDoesNotTouch) {
    IniDocument doc = Doc(u"[A]\r\nx=1\r\n;note\r\nbare\r\n[B]\r\ny=2\r\n");
    doc.SetString(u"A", u"x", u"9");
    EXPECT_EQ(Ascii(doc.Serialize()), "[A]\r\nx=9\r\n;note\r\nbare\r\n[B]\r\ny=2\r\n");
}

TEST(IniDocument, UnnamedSectionJoinsTheOneBeforeOnWrite) {
    IniDocument doc = Doc(u"[a]\r\n[]\r\nx=1\r\n");
    EXPECT_EQ(Ascii(doc.GetString(u"a", u"x", u"none", 8192)), "none");
    doc.SetString(u"a", u"x", u"2");
    EXPECT_EQ(Ascii(doc.Serialize()), "[a]\r\nx=2\r\nx=1\r\n");
    EXPECT_EQ(Ascii(doc.GetString(u"a", u"x", u"none", 8192)), "2");
    doc.SetString(u"a", u"k", u"v");
    EXPECT_EQ(Ascii(doc.Serialize()), "[a]\r\nx=2\r\nx=1\r\nk=v\r\n");
}

TEST(IniText, Encodings) {
    struct Case {
        std::string bytes;
        IniEncoding encoding;
        std::u16string text;
    };
    const Case cases[] = {
        {"[s]\r\nk=\x80\xE9", IniEncoding::SystemCodePage, u"[s]\r\nk=\u20AC\u00E9"},
        {"\xEF\xBB\xBFk=\xE6\x88\x90", IniEncoding::Utf8, u"k=\u6210"},
        {std::string("\xFF\xFEk\0=\0\x10\x62", 8), IniEncoding::Utf16Le, u"k=\u6210"},
        {std::string("\xFE\xFF\0k\0=\x62\x10", 8), IniEncoding::Utf16Be, u"k=\u6210"},
    };
    for (const Case& c : cases) {
        IniEncoding found{};
        EXPECT_EQ(DecodeIniBytes(c.bytes, &found), c.text);
        EXPECT_EQ(found, c.encoding);
    }
    EXPECT_EQ(EncodeIniBytes(u"k=\u6210"), std::string("\xFF\xFEk\0=\0\x10\x62", 8));
}

} // namespace
