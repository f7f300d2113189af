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

} // namespace
