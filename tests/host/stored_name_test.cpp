// A camera's name in the settings file: every name discovery can produce passes the check of the
// next start with the same camera, names that read back unchanged are stored exactly as before,
// and a different camera still counts as a changed configuration.
#include "fixture.h"

#include "core/settings_path.h"
#include "settings/settings_file.h"
#include "settings/stored_name.h"

#include <cstring>

namespace {

class StoredNameTest : public SimTest {
  protected:
    // A first start with a camera of that name, then a second start with the same file and a
    // camera of the second name, whose stored record has a brightness of 91. Returns the file the
    // second start was given.
    std::string TwoStarts(const std::u16string& first, const std::u16string& second) {
        Restart();
        AddVendorCamera(first);
        EXPECT_EQ(Start(), sim::kLoopIdle);
        std::string file = Ini();
        const size_t at = file.find("Brightness=128\r\n");
        EXPECT_EQ(at != std::string::npos, file.find("[Camera0]") != std::string::npos);
        if (at != std::string::npos)
            file.replace(at, 16, "Brightness=91\r\n");
        Restart(); // a new process
        AddVendorCamera(second);
        WriteIni(file);
        secondExit = Start();
        return file;
    }
    // The captions of every box shown: none, or the one of a changed configuration.
    static std::vector<std::string> BoxCaptions() {
        std::vector<std::string> captions;
        for (const sim::MessageBoxShown& box : sim::TheDesktop().boxes)
            captions.push_back(box.caption);
        return captions;
    }
    const std::vector<std::string> kNoBox{}, kChangedBox{"Camera configuration changed"};
    const std::vector<int32_t> kNoWrite{};
    // Every brightness the second start wrote to the camera: none is no stand-in value.
    static std::vector<int32_t> BrightnessWrites() {
        std::vector<int32_t> writes;
        for (const sim::Request& r : sim::RequestsOf(sim::Interface::ProcAmp, 0))
            if (r.direction == sim::Direction::Set)
                writes.push_back(r.data[0]);
        return writes;
    }
    int secondExit = 0;
};

std::u16string Repeat(char16_t unit, size_t count) {
    return std::u16string(count, unit);
}

struct NameCase {
    const char* what;
    std::u16string friendlyName;
};

const NameCase kNames[] = {
    {"trailing space", u"Parvanex Trailing "},
    {"leading space", u" Parvanex Leading"},
    {"blanks at both ends", u"  Parvanex  "},
    {"tabs at both ends", u"\tParvanex\t"},
    {"vertical tab, form feed and ^Z at the end", u"Parvanex\v\f\x1a"},
    {"quotes at both ends", u"\"Parvanex\""},
    {"single quotes at both ends", u"'Parvanex'"},
    {"a quote at one end", u"\"Parvanex"},
    {"a quote at the other end", u"Parvanex'"},
    {"mismatched quotes", u"\"Parvanex'"},
    {"doubled quotes at both ends", u"\"\"Parvanex\"\""},
    {"quote and blank", u"\"Parvanex\" "},
    {"carriage return inside", u"Parvanex\rCam"},
    {"line feed inside", u"Parvanex\nCam"},
    {"line feed at the end", u"Parvanex\n"},
    {"U+010A narrowed to a line feed", u"Parvanex \u010aCam"},
    {"U+010D narrowed to a carriage return", u"Parvanex \u010dCam"},
    {"U+010D U+010A at the end", u"Parvanex\u010d\u010a"},
    {"U+0120 narrowed to a trailing space", u"Parvanex\u0120"},
    {"backslashes", u"Parvanex \\ Cam \\\\"},
    {"backslash n that is no line feed", u"Parvanex\\n"},
    {"backslash and trailing space", u"Parvanex\\ "},
    {"escape-like text in quotes", u"\"Parvanex\\r\""},
    {"plain name", u"Parvanex Cam 1"},
    {"inner quotes and backslash", u"Parvanex \"Q\" \\ 1"},
    {"nothing after the vendor word", u"Parvanex"},
    {"narrowed to nothing before the vendor word", u"\u0100Parvanex Cam"},
    {"narrowed to one blank", u" \u0100Parvanex"},
    {"300 characters cut to 255 by discovery", u"Parvanex " + Repeat(u'x', 291)},
    {"255 characters ending in a blank", u"Parvanex " + Repeat(u'x', 245) + u" "},
    {"255 backslashes after the vendor word with a blank", u"Parvanex" + Repeat(u'\\', 246) + u" "},
    {"255 line feeds (the vendor word cut off)", Repeat(u'\u010a', 300) + u"Parvanex"},
    {"255 characters, quoted", u"\"Parvanex " + Repeat(u'q', 244) + u"\""},
    {"bytes 0x80 to 0xff", u"Parvanex \u0080\u0085\u009f\u00a0\u00ff\u00a0"},
};

// The second start loads the record, and a save right after the load writes the file it loaded.
TEST_F(StoredNameTest, EveryNameDiscoveryCanProducePassesTheNextStartAndSavesByteForByte) {
    for (const NameCase& c : kNames) {
        SCOPED_TRACE(c.what);
        TwoStarts(c.friendlyName, c.friendlyName);
        ASSERT_EQ(secondExit, sim::kLoopIdle);
        EXPECT_FALSE(exitedEarly);
        EXPECT_EQ(BoxCaptions(), kNoBox);
        // The stored record reached the camera, once. A name that narrows to nothing gets no
        // section: its record stays unstored (-1), and the start applies it as it is.
        const int32_t stored = CameraRecords[0].Name[0] != '\0' ? 91 : -1;
        EXPECT_EQ(CameraRecords[0].Brightness, stored);
        EXPECT_EQ(BrightnessWrites(), std::vector<int32_t>{stored});
        const std::string loaded = Ini();
        SaveSettings(SettingsPath());
        EXPECT_EQ(Ini(), loaded);
    }
}

// A name that reads back unchanged is stored as it is; any other is quoted twice with its line
// breaks escaped.
TEST_F(StoredNameTest, ANameIsStoredAsItIsOnlyWhenItReadsBackUnchanged) {
    struct Case {
        std::u16string friendlyName;
        std::string line;
    } cases[] = {
        {u"Parvanex Cam 1", "Name=Parvanex Cam 1\r\n"},
        {u"Parvanex \"Q\" \\ 1", "Name=Parvanex \"Q\" \\ 1\r\n"},
        {u"\"Parvanex", "Name=\"Parvanex\r\n"},
        {u"Parvanex \u00e9\u0416", "Name=Parvanex \xe9\x16\r\n"},
        {u"Parvanex Trailing ", "Name=\"\"Parvanex Trailing \"\"\r\n"},
        {u" Parvanex", "Name=\"\" Parvanex\"\"\r\n"},
        {u"\"Parvanex\"", "Name=\"\"\"Parvanex\"\"\"\r\n"},
        {u"Parvanex \u010aCam\\", "Name=\"\"Parvanex \\nCam\\\\\"\"\r\n"},
        {u"Parvanex\r\n", "Name=\"\"Parvanex\\r\\n\"\"\r\n"},
        {u"Parvanex " + Repeat(u'x', 291), "Name=Parvanex " + std::string(246, 'x') + "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Restart();
        AddVendorCamera(c.friendlyName);
        ASSERT_EQ(Start(), sim::kLoopIdle);
        EXPECT_NE(Ini().find("\r\n" + c.line), std::string::npos) << Ini();
    }
}

TEST_F(StoredNameTest, ADifferentCameraIsStillAChangedConfiguration) {
    const struct {
        std::u16string written, attached;
    } pairs[] = {
        {u"Parvanex Trailing ", u"Parvanex Trailing"},
        {u"Parvanex Trailing", u"Parvanex Trailing "},
        {u"Parvanex Trailing ", u"Parvanex Trailing  "},
        {u" Parvanex", u"Parvanex"},
        {u"\"Parvanex\"", u"Parvanex"},
        {u"Parvanex", u"\"Parvanex\""},
        {u"'Parvanex'", u"\"Parvanex\""},
        {u"\"\"Parvanex\"\"", u"\"Parvanex\""},
        {u"Parvanex\n", u"Parvanex\\n"},
        {u"Parvanex\\n", u"Parvanex\n"},
        {u"Parvanex \u010aCam", u"Parvanex \u010dCam"},
        {u"Parvanex\\", u"Parvanex\\\\"},
        {u"\"Parvanex\\r\"", u"\"Parvanex\r\""},
        {u"Parvanex " + Repeat(u'x', 245) + u" ", u"Parvanex " + Repeat(u'x', 246)},
    };
    for (const auto& p : pairs) {
        TwoStarts(p.written, p.attached);
        SCOPED_TRACE(Ini());
        EXPECT_EQ(secondExit, 0);
        EXPECT_TRUE(exitedEarly);
        EXPECT_EQ(BoxCaptions(), kChangedBox);
        EXPECT_EQ(BrightnessWrites(), kNoWrite); // nothing stored reached the camera
    }
}

TEST_F(StoredNameTest, FilesWrittenBeforeKeepLoadingAsTheyDid) {
    // As earlier versions wrote them: the name unchanged. A name that reads back unchanged
    // loads; the lossy text of one that did not is still refused, as it always was.
    const struct {
        const char* line;
        std::u16string camera;
        bool loads;
    } cases[] = {
        {"Name=Parvanex Cam 1", u"Parvanex Cam 1", true},
        {"Name=Parvanex \"Q\" \\ 1", u"Parvanex \"Q\" \\ 1", true},
        {"Name=", u"Parvanex Any", true},
        {"Name=Parvanex Trailing ", u"Parvanex Trailing ", false},
        {"Name=Parvanex Trailing ", u"Parvanex Trailing", true},
    };
    for (const auto& c : cases) {
        Restart();
        SCOPED_TRACE(c.line);
        AddVendorCamera(c.camera);
        const std::string file = "[General]\r\nNumberOfCameras=1\r\n[Camera0]\r\n" +
                                 std::string(c.line) + "\r\nBrightness=77\r\n";
        WriteIni(file);
        EXPECT_EQ(Start(), c.loads ? sim::kLoopIdle : 0);
        EXPECT_EQ(exitedEarly, !c.loads);
        EXPECT_EQ(BoxCaptions(), c.loads ? kNoBox : kChangedBox);
        if (c.loads) {
            EXPECT_EQ(CameraRecords[0].Brightness, 77);
            // A load never writes the name: the line stays, less the trailing blanks that any
            // rewrite of the file drops.
            std::string line = c.line;
            while (line.back() == ' ')
                line.pop_back();
            EXPECT_NE(Ini().find("\r\n" + line + "\r\n"), std::string::npos);
        }
    }
}

} // namespace
