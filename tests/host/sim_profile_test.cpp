// The simulated profile and file functions behave as measured under Wine 8 (the same cases run
// against Wine in tests/e2e/profile_differential.sh).
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

const char* const kPath = "C:\\work\\a.ini";

class SimProfileTest : public ::testing::Test {
  protected:
    void SetUp() override { sim::ResetAll(); }

    static void Put(const std::string& bytes) { sim::Files().files[kPath] = bytes; }
    static std::string Bytes() {
        const std::string* file = sim::FindFile(kPath);
        return file ? *file : "<missing>";
    }
    static int32_t Int(const char* key, int32_t defaultValue = 7, const char* section = "General") {
        return platform::ReadProfileInt(section, key, defaultValue, kPath);
    }
    // The text read and the count returned, as "count:text".
    static std::string Str(const char* key, uint32_t size = 64, const char* defaultValue = "def",
                           const char* section = "General") {
        char buffer[300];
        const uint32_t count =
            platform::ReadProfileString(section, key, defaultValue, buffer, size, kPath);
        return std::to_string(count) + ":" + buffer;
    }
    static bool Write(const char* section, const char* key, const char* value) {
        return platform::WriteProfileString(section, key, value, kPath);
    }
};

TEST_F(SimProfileTest, MissingFileSectionKeyAndEmptyValueGiveTheDefault) {
    EXPECT_EQ(Int("Count"), 7);
    EXPECT_EQ(Str("Name"), "3:def");
    Put("[General]\r\nEmpty=\r\nNoEquals\r\n");
    EXPECT_EQ(Int("Count"), 7);
    EXPECT_EQ(Int("Empty", 7, "Other"), 7);
    EXPECT_EQ(Int("Empty"), 7);
    EXPECT_EQ(Str("Empty"), "0:");       // a stored empty text is not the default
    EXPECT_EQ(Str("NoEquals"), "3:def"); // a line without '=' has no value
}

TEST_F(SimProfileTest, NumbersReadWithSignsBlanksPrefixesAndWrapping) {
    Put("[General]\r\nMinus=-1\r\nWord=abc\r\nLead=12abc\r\nPlus=+5\r\nSignSpace=- 5\r\n"
        "SpaceSign= -6\r\nHex=0x10\r\nUpperHex=0X10\r\nBinary=0b101\r\nOctal=0o17\r\n"
        "LeadingZero=010\r\nBig=99999999999\r\nWrap=4294967295\r\nTab=\t9\r\nQuoted=\"15\"\r\n");
    EXPECT_EQ(Int("Minus"), -1);
    EXPECT_EQ(Int("Word"), 0);
    EXPECT_EQ(Int("Lead"), 12);
    EXPECT_EQ(Int("Plus"), 5);
    EXPECT_EQ(Int("SignSpace"), 0);
    EXPECT_EQ(Int("SpaceSign"), -6);
    EXPECT_EQ(Int("Hex"), 16);
    EXPECT_EQ(Int("UpperHex"), 0);
    EXPECT_EQ(Int("Binary"), 5);
    EXPECT_EQ(Int("Octal"), 15);
    EXPECT_EQ(Int("LeadingZero"), 10);
    EXPECT_EQ(Int("Big"), 1215752191);
    EXPECT_EQ(Int("Wrap"), -1);
    EXPECT_EQ(Int("Tab"), 9);
    EXPECT_EQ(Int("Quoted"), 15);
}

TEST_F(SimProfileTest, OnlyTheFirst29CharactersOfANumberAreRead) {
    Put("[General]\r\nLong=" + std::string(40, '0') + "12\r\n");
    EXPECT_EQ(Int("Long"), 0);
}

TEST_F(SimProfileTest, NamesMatchInAnyCaseAndWithoutSurroundingBlanks) {
    Put("[ Spaced ]\r\n  Padded  =  value with spaces  \r\n[General]\r\nName=Cam One\r\n");
    EXPECT_EQ(Str("NAME", 64, "def", "general"), "7:Cam One");
    EXPECT_EQ(Str("padded", 64, "def", "Spaced"), "17:value with spaces");
    EXPECT_EQ(Str("  Padded  ", 64, "def", " Spaced "), "17:value with spaces");
    EXPECT_EQ(Str("", 64, "def", "Spaced"), "3:def");
}

TEST_F(SimProfileTest, SemicolonLinesAreKeysNotComments) {
    Put("[General]\r\n;Hidden=yes\r\n; comment line\r\n");
    EXPECT_EQ(Str(";Hidden"), "3:yes");
    EXPECT_EQ(Str("Hidden"), "3:def");
}

TEST_F(SimProfileTest, LfAndCrAloneEndLinesToo) {
    Put("[General]\nA=1\nB=two\n");
    EXPECT_EQ(Int("A"), 1);
    EXPECT_EQ(Str("B"), "3:two");
    Put("[General]\rA=3\rB=four\r");
    EXPECT_EQ(Int("A"), 3);
    EXPECT_EQ(Str("B"), "4:four");
}

TEST_F(SimProfileTest, MatchingQuotesAreStrippedFromValuesAndDefaults) {
    Put("[General]\r\nQ=\"in quotes\"\r\nS='single'\r\nHalf=\"open\r\nInner=a \"b\" c\r\n"
        "One=\"\r\nTwo=\"\"\r\n");
    EXPECT_EQ(Str("Q"), "9:in quotes");
    EXPECT_EQ(Str("S"), "6:single");
    EXPECT_EQ(Str("Half"), "5:\"open");
    EXPECT_EQ(Str("Inner"), "7:a \"b\" c");
    EXPECT_EQ(Str("One"), "1:\"");
    EXPECT_EQ(Str("Two"), "0:");
    EXPECT_EQ(Str("Missing", 64, "\"quoted default\""), "14:quoted default");
}

TEST_F(SimProfileTest, DefaultsLoseTrailingSpacesOnlyButKeepTheirFirstCharacter) {
    EXPECT_EQ(Str("Missing", 64, "  padded default  "), "16:  padded default");
    EXPECT_EQ(Str("Missing", 64, "abc\t "), "4:abc\t");
    EXPECT_EQ(Str("Missing", 64, "  "), "1: ");
    EXPECT_EQ(Str("Missing", 64, ""), "0:");
}

TEST_F(SimProfileTest, FirstOfDuplicateSectionsAndKeysWins) {
    Put("Top=before\r\n[General]\r\nKey=first\r\nKey=second\r\n[general]\r\nKey=third\r\n"
        "OnlySecond=2\r\n");
    EXPECT_EQ(Str("Key"), "5:first");
    EXPECT_EQ(Int("OnlySecond"), 7);
    EXPECT_EQ(Str("Top", 64, "def", ""), "6:before");
    ASSERT_TRUE(Write("General", "OnlySecond", "5"));
    EXPECT_EQ(Bytes(), "Top=before\r\n[General]\r\nKey=first\r\nKey=second\r\nOnlySecond=5\r\n"
                       "[general]\r\nKey=third\r\nOnlySecond=2\r\n");
}

TEST_F(SimProfileTest, LongValuesAreCutToTheBufferAndReturnTheCountCopied) {
    Put("[General]\r\nName=abcdefghij\r\n");
    EXPECT_EQ(Str("Name", 11), "10:abcdefghij");
    EXPECT_EQ(Str("Name", 10), "9:abcdefghi");
    EXPECT_EQ(Str("Name", 2), "1:a");
    EXPECT_EQ(Str("Name", 1), "0:");
    EXPECT_EQ(Str("Missing", 5, "0123456789"), "4:0123");
}

TEST_F(SimProfileTest, AQuotedValueFillingTheBufferLosesItsLastCharacter) {
    Put("[General]\r\nQuoted=\"abcdefghij\"\r\n");
    EXPECT_EQ(Str("Quoted", 12), "10:abcdefghij");
    EXPECT_EQ(Str("Quoted", 11), "9:abcdefghi");
    EXPECT_EQ(Str("Quoted", 5), "4:abcd");
    char buffer[16];
    std::fill(buffer, buffer + sizeof buffer, 'Z');
    platform::ReadProfileString("General", "Quoted", "", buffer, 11, kPath);
    EXPECT_EQ(std::string(buffer, 11), std::string("abcdefghi\0Z", 11)); // one terminator only
}

TEST_F(SimProfileTest, WritesBuildANewFileSectionBySection) {
    ASSERT_TRUE(Write("General", "NumberOfCameras", "1"));
    ASSERT_TRUE(Write("General", "InternalDisplay", "0"));
    ASSERT_TRUE(Write("Camera0", "Name", "Cam"));
    ASSERT_TRUE(Write("General", "ImageSavePath", "C:\\W1X9Image.bmp"));
    ASSERT_TRUE(Write("general", "numberofcameras", "2"));
    EXPECT_EQ(Bytes(), "[General]\r\nNumberOfCameras=2\r\nInternalDisplay=0\r\n"
                       "ImageSavePath=C:\\W1X9Image.bmp\r\n[Camera0]\r\nName=Cam\r\n");
}

TEST_F(SimProfileTest, ARewriteDropsBlankLinesAndBlanksAndEndsEveryLineWithCrLf) {
    Put("; leading comment\r\n\r\n[General]\r\n  Key = value  \r\n; inner comment\r\n\r\n"
        "Other=1\r\n\r\n[Camera0]\n\tName=x\nNoEquals\n\n");
    ASSERT_TRUE(Write("General", "Other", "2"));
    EXPECT_EQ(Bytes(), "; leading comment\r\n[General]\r\nKey=value\r\n; inner comment\r\n"
                       "Other=2\r\n[Camera0]\r\nName=x\r\nNoEquals\r\n");
}

TEST_F(SimProfileTest, WritingTheStoredValueLeavesTheFileAsItIs) {
    const std::string file = "; kept\r\n\r\n[General]\r\n  Key = value  \n\n";
    Put(file);
    ASSERT_TRUE(Write("General", "Key", "value"));
    EXPECT_EQ(Bytes(), file);
}

TEST_F(SimProfileTest, WrittenNamesAndValuesLoseLeadingBlanksOnly) {
    ASSERT_TRUE(Write(" Spaced ", "  Key  ", " \tv\t "));
    EXPECT_EQ(Bytes(), "[Spaced ]\r\nKey  =v\t \r\n");
    EXPECT_EQ(Str("Key", 64, "def", "Spaced"), "1:v"); // trailing blanks go when read
    ASSERT_TRUE(Write("Spaced", "Key", "v"));          // equal to what is read: no rewrite
    EXPECT_EQ(Bytes(), "[Spaced ]\r\nKey  =v\t \r\n");
}

TEST_F(SimProfileTest, SectionHeadersRunToTheLastBracket) {
    Put("  [General]  trailing\r\nKey=1\r\n[a]b]\r\nK=2\r\n[Camera0\r\nName=x\r\n");
    EXPECT_EQ(Int("Key"), 1);
    EXPECT_EQ(Int("K", 7, "a]b"), 2);
    EXPECT_EQ(Str("Name", 64, "def", "Camera0"), "3:def");
}

TEST_F(SimProfileTest, UnwritableFolderFailsTheWrite) {
    sim::Files().unwritable.insert("c:\\WORK");
    EXPECT_FALSE(Write("General", "Key", "1"));
    EXPECT_EQ(Bytes(), "<missing>");
}

TEST_F(SimProfileTest, ARelativePathIsTakenInTheCurrentDirectory) {
    ASSERT_TRUE(platform::WriteProfileString("General", "Key", "1", ".\\a.ini"));
    EXPECT_EQ(Bytes(), "[General]\r\nKey=1\r\n");
    EXPECT_TRUE(platform::FileOpensForReading("C:\\WORK\\A.INI"));
}

TEST_F(SimProfileTest, CurrentDirectoryCopiesOnlyWhenTheTerminatorFits) {
    sim::Files().currentDirectory = "C:\\abc";
    char buffer[16];
    std::fill(buffer, buffer + sizeof buffer, 'Z');
    EXPECT_EQ(platform::CurrentDirectory(0, nullptr), 7u);
    EXPECT_EQ(platform::CurrentDirectory(6, buffer), 7u);
    EXPECT_EQ(buffer[0], 'Z');
    EXPECT_EQ(platform::CurrentDirectory(7, buffer), 6u);
    EXPECT_STREQ(buffer, "C:\\abc");
}

TEST_F(SimProfileTest, WritesFailAfterTheAllowedCountWithTheGivenError) {
    sim::Files().failWriteAfter = 1;
    platform::File file = platform::CreateFileForWriting("C:\\shots\\x.bmp");
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(platform::WriteToFile(file, "ab", 2));
    EXPECT_FALSE(platform::WriteToFile(file, "cd", 2));
    EXPECT_EQ(platform::LastErrorNumber(), 112u);
    platform::CloseFile(file);
    EXPECT_EQ(*sim::FindFile("c:\\shots\\X.BMP"), "ab");
}

TEST_F(SimProfileTest, FilesInAnUnwritableFolderAreNotCreatedAndMovesReplace) {
    sim::Files().unwritable.insert("C:\\shots");
    EXPECT_EQ(platform::CreateFileForWriting("C:\\Shots\\x.bmp"), nullptr);
    EXPECT_EQ(platform::LastErrorNumber(), 5u);
    sim::Files().files["C:\\img.bmp.partial"] = "new";
    sim::Files().files["C:\\IMG.bmp"] = "old";
    ASSERT_TRUE(platform::ReplaceFile("C:\\img.bmp.partial", "C:\\img.bmp"));
    EXPECT_EQ(sim::Files().files.size(), 1u);
    EXPECT_EQ(*sim::FindFile("C:\\img.bmp"), "new");
    EXPECT_FALSE(platform::ReplaceFile("C:\\gone", "C:\\img.bmp"));
    EXPECT_EQ(platform::LastErrorNumber(), 2u);
    platform::RemoveFile("C:\\IMG.BMP");
    EXPECT_EQ(sim::FindFile("C:\\img.bmp"), nullptr);
}

TEST_F(SimProfileTest, AnUnreadableFileDoesNotOpenAndReadsAsMissing) {
    Put("[General]\r\nKey=1\r\n");
    EXPECT_TRUE(platform::FileOpensForReading(kPath));
    sim::Files().unreadable.insert(kPath);
    EXPECT_FALSE(platform::FileOpensForReading(kPath));
    EXPECT_EQ(Int("Key"), 7);
}

// The text of a read as "count:" and every byte up to and including the last terminator written.
std::string List(const char* section, const char* key, uint32_t size,
                 const char* defaultValue = "def") {
    std::string buffer(size + 1, 'Z');
    const uint32_t count =
        platform::ReadProfileString(section, key, defaultValue, &buffer[0], size, kPath);
    return std::to_string(count) + ":" + buffer.substr(0, buffer.find_last_of('\0') + 1);
}

TEST_F(SimProfileTest, Utf8FilesAreReadThroughTheAnsiCodePageAndWrittenBackAsUtf8) {
    Put("\xef\xbb\xbf[General]\r\nName=caf\xc3\xa9 \xe2\x80\x99 "
        "\xe4\xb8\xad\r\nK=1\r\nBad=\xff\xfe\r\n");
    EXPECT_EQ(Str("Name"), "8:caf\xe9 \x92 ?"); // U+4E2D has no place in code page 1252
    EXPECT_EQ(Int("K"), 1);
    EXPECT_EQ(Str("Bad"), "2:??"); // invalid bytes read as U+FFFD
    ASSERT_TRUE(Write("General", "K", "2"));
    ASSERT_TRUE(Write("General", "New", "\xe9\x92\x81"));
    EXPECT_EQ(Bytes(),
              "\xef\xbb\xbf[General]\r\nName=caf\xc3\xa9 \xe2\x80\x99 \xe4\xb8\xad\r\nK=2\r\n"
              "Bad=\xef\xbf\xbd\xef\xbf\xbd\r\nNew=\xc3\xa9\xe2\x80\x99\xc2\x81\r\n");
    Put("\xef\xbb\xbf");
    ASSERT_TRUE(Write("S", "K", "v"));
    EXPECT_EQ(Bytes(), "\xef\xbb\xbf[S]\r\nK=v\r\n");
}

TEST_F(SimProfileTest, Utf16FilesKeepTheirByteOrder) {
    using namespace std::string_literals;
    Put("\xff\xfe[\0G\0]\0\r\0\n\0A\0=\0"
        "1\0\r\0\n\0N\0=\0\xe9\0\r\0\n\0"s);
    EXPECT_EQ(Int("A", 7, "G"), 1);
    EXPECT_EQ(Str("N", 64, "def", "G"), "1:\xe9");
    ASSERT_TRUE(Write("G", "B", "3"));
    EXPECT_EQ(Bytes(), "\xff\xfe[\0G\0]\0\r\0\n\0A\0=\0"
                       "1\0\r\0\n\0N\0=\0\xe9\0\r\0\n\0"
                       "B\0=\0"
                       "3\0\r\0\n\0"s);
    Put("\xfe\xff\0[\0G\0]\0\r\0\n\0A\0=\0"
        "1\0\n"s);
    EXPECT_EQ(Int("A", 7, "G"), 1);
    ASSERT_TRUE(Write("G", "A", "2"));
    ASSERT_TRUE(Write("H", "\xe9", "\x80"));
    EXPECT_EQ(Bytes(), "\xfe\xff\0[\0G\0]\0\r\0\n\0A\0=\0"
                       "2\0\r\0\n\0[\0H\0]\0\r\0\n\0\xe9\0= \xac\0\r\0\n"s);
}

TEST_F(SimProfileTest, AnsiBytesSurviveARewriteAndNoBreakSpaceIsNoBlank) {
    std::string high;
    for (int c = 0x80; c <= 0xff; ++c)
        high += static_cast<char>(c);
    Put("[S]\r\nV=" + high + "\r\nW=1\r\nK=\xa0v\xa0\r\n");
    EXPECT_EQ(Str("V", 200, "def", "S"), "128:" + high);
    EXPECT_EQ(Str("K", 64, "def", "S"), "3:\xa0v\xa0");
    ASSERT_TRUE(Write("S", "W", "2"));
    EXPECT_EQ(Bytes(), "[S]\r\nV=" + high + "\r\nW=2\r\nK=\xa0v\xa0\r\n");
}

// A line that starts with the bytes of a byte-order mark becomes the start of the file when a
// rewrite drops or deletes what came before it; from then on the file is read in that encoding.
TEST_F(SimProfileTest, ARewriteThatMovesAByteOrderMarkToTheTopChangesTheEncoding) {
    using namespace std::string_literals;
    struct Case {
        const char* what;
        std::string file;
        const char* deleteKey; // deleted from the nameless section, or null: S/A written
        const char* keyBefore; // the key's name before and after the rewrite
        const char* keyAfter;
        std::string bytesAfter;
    };
    const Case cases[] = {
        {"blank line", "\r\n\xef\xbb\xbfk=v\r\n[S]\r\nA=1\r\n", nullptr, "\xef\xbb\xbfk", "k",
         "\xef\xbb\xbfk=v\r\n[S]\r\nA=2\r\n"},
        {"blanks on its line", "  \xef\xbb\xbfk=v\r\n[S]\r\nA=1\r\n", nullptr, "\xef\xbb\xbfk", "k",
         "\xef\xbb\xbfk=v\r\n[S]\r\nA=2\r\n"},
        {"deleted key", "a=1\r\n\xff\xfekk=v\r\n[S]\r\nA=1\r\n", "a", "\xff\xfekk", nullptr,
         "\xff\xfekk=v\r\n[S]\r\nA=1\r\n"},
        {"empty header", "[]\r\n\xfe\xffkk=v\r\n[S]\r\nA=1\r\n", nullptr, nullptr, nullptr,
         "\xfe\xffkk=v\r\n[S]\r\nA=2\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Put(c.file);
        if (c.keyBefore)
            EXPECT_EQ(Str(c.keyBefore, 64, "def", ""), "1:v");
        if (c.deleteKey)
            ASSERT_TRUE(Write("", c.deleteKey, nullptr));
        else
            ASSERT_TRUE(Write("S", "A", "2"));
        EXPECT_EQ(Bytes(), c.bytesAfter);
        if (c.keyBefore)
            EXPECT_EQ(Str(c.keyBefore, 64, "def", ""), "3:def");
        if (c.keyAfter)
            EXPECT_EQ(Str(c.keyAfter, 64, "def", ""), "1:v");
        else // read as UTF-16: the old text is other characters now, its keys are gone
            EXPECT_EQ(Int("A", 7, "S"), 7);
    }
    // A UTF-16 reading appends what is written next in UTF-16.
    ASSERT_TRUE(Write("S", "A", "3"));
    EXPECT_EQ(Bytes(),
              "\xfe\xffkk=v\r\n[S]\r\nA=2\r\n\0\r\0\n\0[\0S\0]\0\r\0\n\0A\0=\0003\0\r\0\n"s);
    EXPECT_EQ(Int("A", 7, "S"), 3);
}

// The functions keep the parse of the bytes they read last: a change of the bytes between calls,
// by a write whose text reads back otherwise or by another program, is seen at the next call.
TEST_F(SimProfileTest, TheNextCallReadsWhatTheBytesHoldNow) {
    ASSERT_TRUE(Write("S", "C=3", "3")); // a key name with '=' reads back as "C"
    EXPECT_EQ(Str("C", 64, "def", "S"), "3:3=3");
    EXPECT_EQ(Str("C=3", 64, "def", "S"), "3:def");
    ASSERT_TRUE(Write("S", "[K", "v]")); // the key's line is a section header now
    EXPECT_EQ(Str("[K", 64, "def", "S"), "3:def");
    EXPECT_EQ(Str("A", 64, "def", "K=v"), "3:def");
    ASSERT_TRUE(Write("T", "L1\r\nL2", "x")); // a line break in a name
    EXPECT_EQ(Str("L1", 64, "def", "T"), "3:def");
    EXPECT_EQ(Str("L2", 64, "def", "T"), "1:x");
    ASSERT_TRUE(Write("V", "W  ", "x  ")); // blanks the next read trims
    EXPECT_EQ(Str("W", 64, "def", "V"), "1:x");
    EXPECT_EQ(Bytes(), "[S]\r\nC=3=3\r\n[K=v]\r\n[T]\r\nL1\r\nL2=x\r\n[V]\r\nW  =x  \r\n");
    Put("[S]\r\nK=9\r\n"); // another program
    EXPECT_EQ(Int("K", 7, "S"), 9);
    ASSERT_TRUE(Write("S", "K", "2"));
    Put("[S]\r\nK=5\r\n");
    EXPECT_EQ(Int("K", 7, "S"), 5);
    Put("");
    ASSERT_TRUE(Write("S", "K", "1")); // into an empty file, then the nameless section on top
    ASSERT_TRUE(Write("", "Top", "2"));
    EXPECT_EQ(Bytes(), "Top=2\r\n[S]\r\nK=1\r\n");
}

TEST_F(SimProfileTest, OnlyAsciiLettersCompareWithoutCase) {
    Put("[\xc9t\xe9]\r\nk=1\r\n");
    EXPECT_EQ(Str("k", 64, "def", "\xe9t\xe9"), "3:def");
    EXPECT_EQ(Str("K", 64, "def", "\xc9T\xe9"), "1:1");
}

TEST_F(SimProfileTest, AnEmptyKeyNameFindsTheFirstLineWithNothingBeforeItsEquals) {
    Put("[S]\r\n=a\r\n=b\r\nK=1\r\n=c\r\n[U]\r\nK=1\r\n");
    EXPECT_EQ(Str("", 64, "def", "S"), "1:a");
    EXPECT_EQ(Str("  ", 64, "def", "S"), "1:a");
    EXPECT_EQ(Str("", 64, "def", "U"), "3:def");
    ASSERT_TRUE(Write("S", "K", "2")); // "=b" right after "=a" was never read
    EXPECT_EQ(Bytes(), "[S]\r\n=a\r\nK=2\r\n=c\r\n[U]\r\nK=1\r\n");
}

TEST_F(SimProfileTest, TheNamelessSectionIsTheTopOfTheFile) {
    Put("[General]\r\nA=1\r\n");
    ASSERT_TRUE(Write("", "New", "3"));
    ASSERT_TRUE(Write("  ", "Other", "4"));
    EXPECT_EQ(Str("New", 64, "def", ""), "1:3");
    EXPECT_EQ(Bytes(), "New=3\r\nOther=4\r\n[General]\r\nA=1\r\n");
}

TEST_F(SimProfileTest, NullValuesDeleteKeysAndNullKeysDeleteSections) {
    Put("[S]\r\nK=1\r\nL=2\r\nk=3\r\n[T]\r\nA=1\r\n[ S ]\r\nK=4\r\n");
    EXPECT_TRUE(Write("S", "K", nullptr));    // the first K only
    EXPECT_TRUE(Write("S", "Nope", nullptr)); // nothing to delete is no failure
    EXPECT_TRUE(Write(" S ", "L", nullptr));  // deleting compares the names untrimmed
    EXPECT_TRUE(Write("T", nullptr, nullptr));
    EXPECT_FALSE(Write(nullptr, "K", "v"));
    EXPECT_FALSE(Write(nullptr, nullptr, nullptr));
    EXPECT_EQ(Bytes(), "[S]\r\nL=2\r\nk=3\r\n[S]\r\nK=4\r\n");
    EXPECT_TRUE(platform::WriteProfileString("S", "K", nullptr, "C:\\work\\gone.ini"));
    EXPECT_EQ(sim::FindFile("C:\\work\\gone.ini"), nullptr);
}

TEST_F(SimProfileTest, NullKeysListKeyNamesAndNullSectionsListSectionNames) {
    using namespace std::string_literals;
    Put("[General]\r\nFirst=1\r\n;Comment=2\r\nNoEquals\r\nSecond=\r\nThird=x\r\n[Camera0]\r\n"
        "Name=a\r\n[Empty]\r\n[Lead]\r\n=v\r\nK=1\r\n");
    EXPECT_EQ(List("general", nullptr, 64), "19:First\0Second\0Third\0\0"s);
    EXPECT_EQ(List(" General ", nullptr, 64), "3:def\0"s); // names compared untrimmed
    EXPECT_EQ(List("General", nullptr, 14), "12:First\0Second\0"s);
    EXPECT_EQ(List("General", nullptr, 13), "11:First\0Secon\0"s); // one terminator only
    EXPECT_EQ(List("General", nullptr, 8), "6:First\0\0"s);
    EXPECT_EQ(List("Empty", nullptr, 64, "\"q\""), "1:q\0"s);
    EXPECT_EQ(List("Lead", nullptr, 64, "def  "), "5:def  \0"s); // an empty first name
    EXPECT_EQ(List(nullptr, "K", 64), "27:General\0Camera0\0Empty\0Lead\0\0"s);
    EXPECT_EQ(List(nullptr, "K", 20), "18:General\0Camera0\0Em\0"s);
    EXPECT_EQ(List(nullptr, "K", 10), "8:General\0\0"s);
    EXPECT_EQ(Int("K", 7, nullptr), 0);
}

TEST_F(SimProfileTest, AFileThatCannotBeOpenedGivesTheDefaultWithItsQuotesAndRefusesWrites) {
    const std::string file = "[S]\r\nK=held\r\n\r\n";
    Put(file);
    sim::Files().unreadable.insert(kPath);
    EXPECT_EQ(Str("K", 64, "\"def\"", "S"), "5:\"def\"");
    EXPECT_EQ(Int("K", 7, "S"), 7);
    EXPECT_FALSE(Write("S", "K", "new"));
    EXPECT_FALSE(Write("S", "K", nullptr));
    EXPECT_FALSE(Write("S", nullptr, nullptr));
    EXPECT_EQ(Bytes(), file);
    EXPECT_EQ(platform::CreateFileForWriting(kPath), nullptr);
    EXPECT_EQ(platform::LastErrorNumber(), 5u);
    platform::RemoveFile(kPath);
    EXPECT_EQ(Bytes(), file);
}

TEST_F(SimProfileTest, ACurrentDirectoryLongerThan259CharactersIsNotReturned) {
    sim::Files().currentDirectory = "C:\\" + std::string(256, 'd'); // 259 characters
    char buffer[300];
    EXPECT_EQ(platform::CurrentDirectory(sizeof buffer, buffer), 259u);
    sim::Files().currentDirectory += "d";
    EXPECT_EQ(platform::CurrentDirectory(sizeof buffer, buffer), 0u);
    EXPECT_EQ(platform::LastErrorNumber(), 206u); // ERROR_FILENAME_EXCED_RANGE
}

} // namespace
