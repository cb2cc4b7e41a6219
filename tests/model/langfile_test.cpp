#include "model/cp1252.h"
#include "model/langfile.h"
#include "model/languagestartup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <random>
#include <set>

using namespace qorv;

namespace {

// Text that came from Windows-1252 goes back to it unchanged (so it is whole UTF-8).
bool fromCodePage(const std::string& s) {
    return cp1252ToUtf8(utf8ToCp1252(s)) == s;
}

std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

const std::string kShipped = std::string(QORV_SOURCE_DIR) + "/languages";

// Every slot within its size, whatever was applied.
void expectSlotsWithinSize(const UiTextTable& t) {
    for (int id = 0; id < 2100; ++id) {
        const std::string* text = t.textById(id);
        if (!text) continue;
        EXPECT_LE(utf8Length(*text), size_t(UiTextTable::slotCharacters(id))) << id;
        EXPECT_EQ(text->find('\0'), std::string::npos) << id;
    }
}

std::string component(const UiTextTable& t, const char* name) {
    const std::string* text = t.componentText(name);
    return text ? *text : "(no such component)";
}

} // namespace

TEST(LanguageFile, LinesAreCommentsAssignmentsOrIgnored) {
    UiTextTable t;
    const LanguageApplied r = applyLanguage(t, ";1=x\n"
                                               "   ; 2=y\n"
                                               "3 = z\r\n"
                                               "-1000=Texto\n"
                                               "no equals sign\n"
                                               "abc=def\n"
                                               "=nothing\n"
                                               "12x=bad id\n"
                                               "4=\t  tabs and blanks go, the end stays  \n"
                                               "4711=unknown\n"
                                               "\n");
    EXPECT_EQ(t.kindName(Kind::Point), "punto"); // comments
    EXPECT_EQ(t.kindName(Kind::Line), "recta");
    EXPECT_EQ(t.kindName(Kind::Ray), "z");
    EXPECT_EQ(t.message(0), "Texto");
    EXPECT_EQ(t.kindName(Kind::Segment), "tabs and blanks go, the end stays  ");
    EXPECT_EQ(r.assignments, 3);
    EXPECT_EQ(r.unknownIds, 1);
    EXPECT_EQ(r.ignored, 4);
}

TEST(LanguageFile, EachRangeSetsItsSlots) {
    struct Case {
        const char* line;
        std::function<std::string(const UiTextTable&)> read;
    };
    const std::vector<Case> cases = {
        {"1=a", [](auto& t) { return t.kindName(0); }},
        {"9=a", [](auto& t) { return t.kindName(8); }},
        {"10=a", [](auto& t) { return t.kindName(24); }},
        {"20=a", [](auto& t) { return t.kindName(9); }},
        {"23=a", [](auto& t) { return t.kindName(13); }},
        {"27=a", [](auto& t) { return t.kindName(25); }},
        {"29=a", [](auto& t) { return t.kindName(27); }},
        {"30=a", [](auto& t) { return t.kindsHeading(); }},
        {"31=a", [](auto& t) { return t.kindName(28); }},
        {"33=a", [](auto& t) { return t.kindName(18); }},
        {"34=a", [](auto& t) { return t.kindName(12); }},
        {"39=a", [](auto& t) { return t.kindName(22); }},
        {"100=a", [](auto& t) { return t.methodName(0); }},
        {"173=a", [](auto& t) { return t.methodName(73); }},
        {"174=a", [](auto& t) { return t.name(Name::SmallButtons); }},
        {"182=a", [](auto& t) { return t.name(Name::TypeWofR); }},
        {"500=a", [](auto& t) { return t.toolPrompt(0); }},
        {"546=a", [](auto& t) { return t.toolPrompt(46); }},
        {"2000=a", [](auto& t) { return t.toolPrompt(47); }},
        {"2036=a", [](auto& t) { return t.toolPrompt(83); }},
        {"2037=a", [](auto& t) { return t.checkWord(Method::ParallelCheck, true); }},
        {"2046=a", [](auto& t) { return t.checkWord(Method::AlignmentCheck, false); }},
        {"550=a", [](auto& t) { return component(t, "M_archivo"); }},
        {"551=a", [](auto& t) { return component(t, "B_doc_nuevo"); }},
        {"568=a", [](auto& t) { return component(t, "M_idioma"); }},
        {"630=a", [](auto& t) { return component(t, "M_primero"); }},
        {"653=a", [](auto& t) { return component(t, "B_MacCon"); }},
        {"1000=a", [](auto& t) { return t.message(0); }},
        {"1199=a", [](auto& t) { return t.message(199); }},
        {"2099=a", [](auto& t) { return t.message(299); }},
        {"3000=a", [](auto& t) { return t.message(300); }},
        {"3399=a", [](auto& t) { return t.message(699); }},
    };
    for (const Case& c : cases) {
        UiTextTable t;
        EXPECT_NE(c.read(t), "a") << c.line;
        const LanguageApplied r = applyLanguage(t, c.line);
        EXPECT_EQ(c.read(t), "a") << c.line;
        EXPECT_EQ(r.assignments, 1) << c.line;
    }
    // Ids between and beyond the ranges name nothing, and the vector keeps its name.
    for (int id : {0,   11,  19,  40,  99,   183,  499,  547,  549,  628,      629,
                   631, 649, 654, 999, 1200, 1999, 2100, 2999, 3400, 999999999}) {
        UiTextTable t;
        const LanguageApplied r = applyLanguage(t, std::to_string(id) + "=a");
        EXPECT_EQ(r.unknownIds, 1) << id;
    }
    UiTextTable t;
    EXPECT_FALSE(t.setById(std::numeric_limits<int>::min(), "a")); // no absolute value
    EXPECT_EQ(t.textById(std::numeric_limits<int>::min()), nullptr);
    EXPECT_TRUE(t.setById(-1, "a")); // what a negative id in a file gives
    EXPECT_EQ(t.kindName(Kind::Point), "a");
    for (int id = 1; id <= 39; ++id)
        applyLanguage(t, std::to_string(id) + "=a");
    EXPECT_EQ(t.kindName(Kind::Vector), "vector");
}

TEST(LanguageFile, TextsAreCutToTheirSlotInCharacters) {
    UiTextTable t;
    // 200 characters, accented ones among them (one byte each in the file, two in memory).
    std::string name(150, 'x');
    name += std::string(50, '\xF1');
    applyLanguage(t, "1=" + name + "\n1000=" + std::string(300, '\xE9') +
                         "\n500=" + std::string(400, 'p'));
    EXPECT_EQ(t.kindName(Kind::Point), std::string(79, 'x'));
    EXPECT_EQ(utf8Length(t.message(0)), 255u);
    EXPECT_EQ(t.message(0).substr(0, 2), "é");
    EXPECT_EQ(t.toolPrompt(0), std::string(255, 'p'));
    applyLanguage(t, "101=" + std::string(78, 'y') + "\xF1\xF1");
    EXPECT_EQ(t.methodName(1), std::string(78, 'y') + "ñ");
}

TEST(LanguageFile, LaterLinesWinAndMissingIdsKeepTheBuiltInText) {
    UiTextTable t;
    applyLanguage(t, "1=first\n2=line\n1=second\n");
    EXPECT_EQ(t.kindName(Kind::Point), "second");
    EXPECT_EQ(t.kindName(Kind::Line), "line");
    EXPECT_EQ(t.kindName(Kind::Circle), "circunferencia");
    // A second language starts again from the built-in texts.
    applyLanguage(t, "3=ray\n");
    EXPECT_EQ(t.kindName(Kind::Point), "punto");
    EXPECT_EQ(t.kindName(Kind::Ray), "ray");
}

TEST(LanguageFile, BytesAreWindows1252EvenWhenTheFileIsUtf8) {
    UiTextTable t;
    applyLanguage(t, "1=Espa\xF1ol \x80\n2=Espa\xC3\xB1ol\n3=a\0b\n");
    EXPECT_EQ(t.kindName(0), "Español €");
    EXPECT_EQ(t.kindName(1), "EspaÃ±ol"); // UTF-8 bytes read as the code page says
    EXPECT_EQ(t.kindName(2), "a");        // a NUL ends the text
}

TEST(LanguageFile, HostileInputOnlyEverFillsSlots) {
    std::mt19937 rng(18);
    const std::string sample = readFile(kShipped + "/English.lng");
    ASSERT_FALSE(sample.empty());
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        switch (round % 3) {
        case 0: // random bytes with many line breaks and equals signs
            bytes.resize(rng() % 5000);
            for (char& c : bytes) {
                const unsigned r = rng() % 16;
                c = r == 0 ? '\n' : r == 1 ? '=' : r < 5 ? char('0' + rng() % 10) : char(rng());
            }
            break;
        case 1: // the shipped file cut anywhere
            bytes = sample.substr(0, rng() % sample.size());
            break;
        default: // the shipped file with bytes changed
            bytes = sample;
            for (int k = 0; k < 50; ++k)
                bytes[rng() % bytes.size()] = char(rng());
        }
        UiTextTable t;
        applyLanguage(t, bytes);
        expectSlotsWithinSize(t);
        for (int id : UiTextTable::ids())
            ASSERT_TRUE(fromCodePage(*t.textById(id))) << id;
    }
    // One enormous line and a line of a million equals signs.
    UiTextTable t;
    applyLanguage(t, "1000=" + std::string(3'000'000, 'z') + "\n" + std::string(1'000'000, '='));
    EXPECT_EQ(t.message(0), std::string(255, 'z'));
    EXPECT_EQ(UiTextTable::slotCharacters(-5), 79);
    EXPECT_EQ(UiTextTable::slotCharacters(30), 255);
    EXPECT_EQ(UiTextTable::slotCharacters(182), 79);
    EXPECT_EQ(UiTextTable::slotCharacters(2099), 255);
    EXPECT_EQ(UiTextTable::slotCharacters(11), 0);
}

TEST(LanguageFile, FilesAreFoundByNameAndListedSorted) {
    const auto dir = std::filesystem::temp_directory_path() / "qorv_langfile_test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "folder.lng");
    std::ofstream(dir / "Zulu.lng") << "1=z";
    std::ofstream(dir / "Alpha.v2.lng") << "1=a";
    std::ofstream(dir / "Empty.lng");
    std::ofstream(dir / "notes.txt") << "1=n";
    EXPECT_EQ(listLanguages(dir.string()), (std::vector<std::string>{"Alpha", "Empty", "Zulu"}));
    EXPECT_TRUE(listLanguages((dir / "missing").string()).empty());

    UiTextTable t;
    EXPECT_TRUE(loadLanguageFile(t, dir.string(), "Zulu"));
    EXPECT_EQ(t.kindName(0), "z");
    for (const char* bad : {"Missing", "", "Empty", "folder"}) {
        EXPECT_FALSE(loadLanguageFile(t, dir.string(), bad)) << bad;
        EXPECT_EQ(t.kindName(0), "z") << bad; // a failed load changes nothing
    }
    // An oversized file is read up to the limit, its last incomplete line dropped.
    {
        std::ofstream big(dir / "Big.lng", std::ios::binary);
        big << "1=start\n";
        const std::string filler = ";" + std::string(1000, 'f') + "\n";
        for (size_t n = 0; n < MaxLanguageFileBytes / filler.size(); ++n)
            big << filler;
        big << "2=" << std::string(5000, 'c') << "\n3=after the limit\n";
    }
    EXPECT_TRUE(loadLanguageFile(t, dir.string(), "Big"));
    EXPECT_EQ(t.kindName(0), "start");
    EXPECT_EQ(t.kindName(1), "recta");
    EXPECT_EQ(t.kindName(2), "semirecta");
    std::filesystem::remove_all(dir);
}

TEST(LanguageFile, SpanishIsToldByTheFirstTwoKindNames) {
    UiTextTable t;
    EXPECT_TRUE(isSpanish(t));
    EXPECT_STREQ(helpFileName(t), "qorv9_es.chm");
    applyLanguage(t, "1=  Punto \n2=Recta\n");
    EXPECT_TRUE(isSpanish(t));
    applyLanguage(t, "1=Point\n2=Line\n");
    EXPECT_FALSE(isSpanish(t));
    EXPECT_STREQ(helpFileName(t), "qorv9_en.chm");
    applyLanguage(t, "1=Puntos\n");
    EXPECT_FALSE(isSpanish(t));
}

TEST(LanguageFile, ShippedSpanishIsTheBuiltInTableAndEnglishIsComplete) {
    const UiTextTable builtIn;
    UiTextTable spanish;
    ASSERT_TRUE(loadLanguageFile(spanish, kShipped, "Español"));
    // A file cannot give a text leading blanks (" Nueva Macro: " is the one built-in text that
    // has them).
    const auto unindented = [](const std::string& s) {
        const size_t first = s.find_first_not_of(' ');
        return first == std::string::npos ? std::string() : s.substr(first);
    };
    for (int id : UiTextTable::ids())
        EXPECT_EQ(*spanish.textById(id), unindented(*builtIn.textById(id))) << id;
    EXPECT_TRUE(isSpanish(spanish));

    UiTextTable english;
    const LanguageApplied r = applyLanguage(english, readFile(kShipped + "/English.lng"));
    EXPECT_EQ(r.unknownIds, 0);
    EXPECT_EQ(r.ignored, 0);
    EXPECT_FALSE(isSpanish(english));
    std::set<int> seen;
    std::string bytes = readFile(kShipped + "/English.lng");
    for (size_t at = 0; at < bytes.size();) {
        const size_t end = std::min(bytes.find('\n', at), bytes.size());
        std::string line = bytes.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        const int id = std::stoi(line);
        EXPECT_TRUE(seen.insert(id).second) << "twice: " << id;
        // Nothing is cut: every text fits its slot.
        EXPECT_EQ(*english.textById(id), unindented(cp1252ToUtf8(line.substr(line.find('=') + 1))))
            << id;
    }
    for (int id : UiTextTable::ids())
        EXPECT_TRUE(seen.count(id)) << "missing: " << id;
    // Translated: texts that stay the same are the few words that read alike in both languages
    // (units, numbers and symbols do not count).
    auto isWord = [](const std::string& t) {
        return std::count_if(t.begin(), t.end(), [](unsigned char c) { return std::isalpha(c); }) >=
               3;
    };
    int same = 0;
    for (int id : UiTextTable::ids())
        same += *english.textById(id) == *builtIn.textById(id) && isWord(*builtIn.textById(id));
    EXPECT_LT(same, 40);
}

// Every text has its id in each shipped file: the ids a file lacks are listed.
TEST(LanguageFile, ShippedFilesLackNoId) {
    for (const char* name : {"Español", "English"}) {
        const std::string bytes = readFile(kShipped + "/" + name + ".lng");
        ASSERT_FALSE(bytes.empty()) << name;
        std::set<int> given;
        for (size_t at = 0; at < bytes.size();) {
            const size_t end = std::min(bytes.find('\n', at), bytes.size());
            const std::string line = bytes.substr(at, end - at);
            at = end + 1;
            if (line.find('=') != std::string::npos && std::isdigit(uint8_t(line[0])))
                given.insert(std::stoi(line));
        }
        std::string lacking;
        for (int id : UiTextTable::ids())
            if (!given.count(id)) lacking += " " + std::to_string(id);
        EXPECT_EQ(lacking, "") << name << " lacks these ids";
    }
}

// ---- start-up order
// ------------------------------------------------------------------------------

namespace {

// Records what the order asks for and answers from a script.
class FakeHost : public LanguageHost {
  public:
    bool optionsRead = false;
    std::string remembered;
    std::vector<std::optional<std::string>> choices; // answers of chooseLanguage, in turn
    std::set<std::string> loadable;
    std::string calls;

    bool optionsFileRead() const override { return optionsRead; }
    std::string rememberedLanguage() const override { return remembered; }
    void setDefaultOptions() override { calls += "defaults "; }
    void rememberLanguage(const std::string& name) override {
        remembered = name;
        calls += "write:" + name + " ";
    }
    std::optional<std::string> chooseLanguage() override {
        calls += "choose ";
        if (choices.empty()) return std::nullopt;
        auto c = choices.front();
        choices.erase(choices.begin());
        return c;
    }
    bool loadLanguage(const std::string& name) override {
        calls += "load:" + name + " ";
        return loadable.count(name) > 0;
    }
    void reportNoLanguageFiles() override { calls += "message "; }
};

} // namespace

TEST(LanguageStartup, FollowsTheOptionsFile) {
    struct Case {
        const char* what;
        bool optionsRead;
        std::string remembered;
        std::vector<std::optional<std::string>> choices;
        std::set<std::string> loadable;
        bool goesOn;
        std::string calls;
    };
    const std::vector<Case> cases = {
        {"no options file: choose, write, load",
         false,
         "",
         {"English"},
         {"English"},
         true,
         "defaults choose write:English load:English "},
        {"no options file, nothing chosen: the end",
         false,
         "",
         {std::nullopt},
         {},
         false,
         "defaults choose "},
        {"no options file, the choice does not load",
         false,
         "",
         {"Broken"},
         {},
         false,
         "defaults choose write:Broken load:Broken message "},
        {"remembered language loads", true, "Español", {}, {"Español"}, true, "load:Español "},
        {"remembered language gone: choose again",
         true,
         "Gone",
         {"English"},
         {"English"},
         true,
         "load:Gone choose write:English load:English "},
        {"remembered language gone, nothing chosen",
         true,
         "Gone",
         {std::nullopt},
         {},
         false,
         "load:Gone choose "},
        {"nothing loads at all",
         true,
         "Gone",
         {"Broken"},
         {},
         false,
         "load:Gone choose write:Broken load:Broken message "},
    };
    for (const Case& c : cases) {
        FakeHost h;
        h.optionsRead = c.optionsRead;
        h.remembered = c.remembered;
        h.choices = c.choices;
        h.loadable = c.loadable;
        EXPECT_EQ(startLanguage(h), c.goesOn) << c.what;
        EXPECT_EQ(h.calls, c.calls) << c.what;
    }
}
