// The window at the screen's DPI: at 96 every rectangle is the real window's (the listing that
// tests/e2e/fw/layout.py checks on the real window, read from tests/e2e/expected/layout.tsv),
// and at other DPIs every length of it, the font height and the window size are scaled by DPI/96
// with halves rounded away from zero. The video embedded in the "Parameters" box follows the box.
#include "fixture.h"

#include "platform/sim/sim_graph.h"

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
};

// At 96 every rectangle is the listing's own. 150 %: one and a half times, a half pixel rounded up
// (the font's -19.5 to -20). 125 %: quarters round to the nearer pixel and halves up (50 to 62.5
// to 63; the font's -16.25 to -16), so a truncating or a floating-point scale that drifts shows.
TEST_F(DpiLayoutTest, EveryRectangleTheFontAndTheWindowAreTheListingsScaledByDpi) {
    const struct {
        int dpi;
        int (*scaled)(int);
        int width, height;
        const char* font;
    } screens[] = {
        {96, [](int v) { return v; }, 778, 542, "CreateControlFont Times New Roman -13 400"},
        {144, [](int v) { return (3 * v + 1) / 2; }, 1167, 813,
         "CreateControlFont Times New Roman -20 400"},
        {120, [](int v) { return (5 * v + 2) / 4; }, 973, 678,
         "CreateControlFont Times New Roman -16 400"},
    };
    const std::vector<ListedControl> expected = ExpectedLayout();
    ASSERT_EQ(expected.size(), 66u);
    for (const auto& screen : screens) {
        SCOPED_TRACE(std::to_string(screen.dpi) + " DPI");
        Restart();
        StartAt(screen.dpi);
        const auto& children = sim::MainWindow()->children;
        ASSERT_EQ(children.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            const ListedControl& e = expected[i];
            const sim::WindowRecord* c = children[i];
            EXPECT_EQ(c->id, e.id) << e.name;
            EXPECT_EQ(c->x, screen.scaled(e.left)) << e.name;
            EXPECT_EQ(c->y, screen.scaled(e.top)) << e.name;
            EXPECT_EQ(c->width, screen.scaled(e.width)) << e.name;
            EXPECT_EQ(c->height, screen.scaled(e.height)) << e.name;
            EXPECT_EQ(c->font, Shell.controlFont) << e.name;
        }
        EXPECT_EQ(sim::MainWindow()->width, screen.width);
        EXPECT_EQ(sim::MainWindow()->height, screen.height);
        EXPECT_EQ(DesktopCalls(screen.font), 1);
    }
}

TEST_F(DpiLayoutTest, At144TheVideoEmbeddedInTheParametersBoxFillsTheScaledBox) {
    sim::TheDesktop().dpi = 144;
    StartWithCamera("[General]\r\nInternalDisplay=1\r\n");
    sim::Click(IDC_BTPREVW);
    EXPECT_EQ(sim::Graph().windowOwner,
              platform::Window(sim::HandleOf(sim::Control(IDC_GBPARAMS))));
    EXPECT_EQ(sim::Graph().windowWidth, 924);
    EXPECT_EQ(sim::Graph().windowHeight, 648);
}

} // namespace
