// The window at the screen's DPI: at 96 every rectangle is the real window's (the listing that
// tests/e2e/fw/layout.py checks on the real window, read from tests/e2e/expected/layout.tsv),
// and at other DPIs every length of it, the font height and the window size are scaled by DPI/96
// with halves rounded away from zero. The video embedded in the "Parameters" box follows the box.
#include "fixture.h"

#include "core/dpi_scale.h"
#include "platform/sim/sim_graph.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

struct ListedControl {
    int id;
    std::string name;
    int left, top, width, height;
};

// The 66 rows of the real window's expected layout, in creation order.
std::vector<ListedControl> ExpectedLayout() {
    std::ifstream file(FRAMEWRIGHT_EXPECTED_LAYOUT);
    std::vector<ListedControl> rows;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');)
            fields.push_back(cell);
        if (fields.size() != 10) {
            ADD_FAILURE() << "not a layout row: " << line;
            continue;
        }
        rows.push_back({std::stoi(fields[0]), fields[1], std::stoi(fields[6]), std::stoi(fields[7]),
                        std::stoi(fields[8]), std::stoi(fields[9])});
    }
    return rows;
}

class DpiLayoutTest : public SimTest {
  protected:
    // Starts the tool on a screen of that DPI.
    void StartAt(int dpi) {
        sim::TheDesktop().dpi = dpi;
        ASSERT_EQ(Start(), sim::kLoopIdle);
        ASSERT_NE(sim::MainWindow(), nullptr);
    }
    // Every control against the expected layout with each value passed through scaled().
    template <typename Scale> void ExpectLayoutScaledBy(Scale scaled) {
        const std::vector<ListedControl> expected = ExpectedLayout();
        const auto& children = sim::MainWindow()->children;
        ASSERT_EQ(expected.size(), 66u);
        ASSERT_EQ(children.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            const ListedControl& e = expected[i];
            const sim::WindowRecord* c = children[i];
            EXPECT_EQ(c->id, e.id) << e.name;
            EXPECT_EQ(c->x, scaled(e.left)) << e.name;
            EXPECT_EQ(c->y, scaled(e.top)) << e.name;
            EXPECT_EQ(c->width, scaled(e.width)) << e.name;
            EXPECT_EQ(c->height, scaled(e.height)) << e.name;
        }
    }
    static bool FontMade(const std::string& call) {
        const auto& calls = sim::TheDesktop().calls;
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }
};

TEST_F(DpiLayoutTest, At96TheWindowFontAndEveryRectangleAreTheRealWindowsOwn) {
    StartAt(96);
    ExpectLayoutScaledBy([](int value) { return value; });
    EXPECT_EQ(sim::MainWindow()->width, 778);
    EXPECT_EQ(sim::MainWindow()->height, 542);
    EXPECT_TRUE(FontMade("CreateControlFont Times New Roman -13 400"));
}

// 150 %: every length one and a half times, a half pixel rounded up (the font's -19.5 to -20).
TEST_F(DpiLayoutTest, At144EveryLengthTheFontAndTheWindowAreOneAndAHalfTimes) {
    StartAt(144);
    ExpectLayoutScaledBy([](int value) { return (3 * value + 1) / 2; });
    EXPECT_EQ(sim::MainWindow()->width, 1167);
    EXPECT_EQ(sim::MainWindow()->height, 813);
    EXPECT_TRUE(FontMade("CreateControlFont Times New Roman -20 400"));
    for (sim::WindowRecord* c : sim::MainWindow()->children)
        EXPECT_EQ(c->font, Shell.controlFont) << c->id;
}

// 125 %: quarters round to the nearer pixel and halves up (50 to 62.5 to 63; the font's -16.25 to
// -16), so a truncating or a floating-point scale that drifts shows here.
TEST_F(DpiLayoutTest, At120EveryLengthIsRoundedToTheNearestPixel) {
    StartAt(120);
    ExpectLayoutScaledBy([](int value) { return (5 * value + 2) / 4; });
    EXPECT_EQ(sim::MainWindow()->width, 973);
    EXPECT_EQ(sim::MainWindow()->height, 678);
    EXPECT_TRUE(FontMade("CreateControlFont Times New Roman -16 400"));
}

TEST_F(DpiLayoutTest, At144TheVideoEmbeddedInTheParametersBoxFillsTheScaledBox) {
    AddVendorCamera();
    WriteIni("[General]\r\nInternalDisplay=1\r\n");
    StartAt(144);
    sim::Click(IDC_BTPREVW);
    EXPECT_EQ(sim::Graph().windowOwner,
              platform::Window(sim::HandleOf(sim::Control(IDC_GBPARAMS))));
    EXPECT_EQ(sim::Graph().windowWidth, 924);
    EXPECT_EQ(sim::Graph().windowHeight, 648);
}

TEST(ScaledToDpi, RoundsHalvesAwayFromZeroAsMulDivDoes) {
    EXPECT_EQ(ScaledToDpi(-13, 144), -20);
    EXPECT_EQ(ScaledToDpi(13, 144), 20);
    EXPECT_EQ(ScaledToDpi(-1, 144), -2);
    EXPECT_EQ(ScaledToDpi(-13, 120), -16);
    EXPECT_EQ(ScaledToDpi(0, 144), 0);
    EXPECT_EQ(ScaledToDpi(-13, 96), -13);
    // 192 is 200 %: no rounding at all, also far beyond a window's sizes.
    EXPECT_EQ(ScaledToDpi(1 << 24, 192), 1 << 25);
}

} // namespace
