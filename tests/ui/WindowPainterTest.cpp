#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "settings/ParameterTable.hpp"
#include "support/ParameterReset.hpp"
#include "ui/RecordingCanvas.hpp"
#include "ui/WindowBands.hpp"
#include "ui/WindowPainter.hpp"

namespace corv::ui {

void PrintTo(const Color& color, std::ostream* out) {
    *out << "rgb(" << int(color.red) << ", " << int(color.green) << ", " << int(color.blue) << ")";
}
void PrintTo(const RecordingCanvas::Text& text, std::ostream* out) {
    *out << '"' << text.text << "\" at (" << text.x << ", " << text.y << ")";
}

namespace {

using Text = RecordingCanvas::Text;
using Change = std::function<void(status::DisplaySnapshot&)>;

struct WindowPainterTest : ::testing::Test {
    WindowPainterTest() { test::resetParameters(); }
    ~WindowPainterTest() override { test::resetParameters(); }

    RecordingCanvas paint(const status::DisplaySnapshot& display,
                          const services::MessageLine::Texts& messages = {}) {
        RecordingCanvas canvas;
        paintWindow(canvas, display, messages,
                    [this](status::ControlId id) { return !disabled.contains(id); });
        return canvas;
    }
    RecordingCanvas paint(const Change& change) {
        status::DisplaySnapshot display;
        change(display);
        return paint(display);
    }

    std::set<status::ControlId> disabled;
};

std::optional<Color> fillColorOf(const RecordingCanvas& canvas, const Rect& rect) {
    std::optional<Color> color;
    for (const auto& fill : canvas.fills()) {
        if (fill.rect == rect) color = fill.color;
    }
    return color;
}

// Everything drawn in one band row, to check that nothing else shows there.
std::vector<Text> textsOnRow(const RecordingCanvas& canvas, int y) {
    std::vector<Text> row;
    for (const Text& text : canvas.texts()) {
        if (text.y == y) row.push_back(text);
    }
    return row;
}

TEST_F(WindowPainterTest, BandsWhiteLinesAndSeparatorsAreDrawnFirst) {
    const RecordingCanvas canvas = paint(status::DisplaySnapshot{});
    const auto fills = canvas.fills();
    const std::vector<RecordingCanvas::Fill> bands = {
        {{0, 0, 880, 28}, colors::black},        {{0, 28, 880, 112}, colors::black},
        {{0, 112, 880, 392}, colors::lightBlue}, {{0, 392, 880, 448}, colors::black},
        {{0, 448, 880, 476}, colors::lime},
    };
    ASSERT_GE(fills.size(), bands.size());
    EXPECT_EQ(std::vector(fills.begin(), fills.begin() + 5), bands);

    const auto lines = canvas.lines();
    const std::vector<RecordingCanvas::Line> expected = {
        {0, 28, 880, 28, colors::white},    {0, 113, 880, 113, colors::white},
        {0, 449, 880, 449, colors::white},  {0, 392, 880, 392, colors::white},
        {0, 140, 880, 140, colors::black},  {0, 168, 642, 168, colors::black},
        {0, 196, 642, 196, colors::black},  {0, 224, 642, 224, colors::black},
        {0, 252, 642, 252, colors::black},  {0, 280, 642, 280, colors::black},
        {0, 308, 880, 308, colors::black},  {642, 140, 642, 308, colors::black},
        {425, 29, 425, 112, colors::black},
    };
    EXPECT_EQ(lines, expected);

    EXPECT_EQ(canvas.findText("Version 12.6.0"), (Text{3, 7, "Version 12.6.0", colors::lime}));
    EXPECT_EQ(canvas.findText("Corvane_P3D"), (Text{390, 7, "Corvane_P3D", colors::lime}));
}

TEST_F(WindowPainterTest, BandsCoverTheWholeClientArea) {
    // No row of the window is left to the black background below the message band.
    const auto fills = paint(status::DisplaySnapshot{}).fills();
    for (int y = 0; y < clientHeight; ++y) {
        const bool covered = std::any_of(fills.begin(), fills.end(), [y](const auto& fill) {
            return fill.rect.left <= 0 && fill.rect.right >= clientWidth && fill.rect.top <= y &&
                   y < fill.rect.bottom;
        });
        ASSERT_TRUE(covered) << "row " << y << " of " << clientHeight;
    }
    EXPECT_LE(bandRect(status::Band::Message).bottom, clientHeight);
}

TEST_F(WindowPainterTest, ConnectionBoxesShowTheStateOfSimulatorAndRealTraffic) {
    struct Case {
        const char* name;
        Change change;
        Color simulator;
        Color realTraffic;
    };
    const Case cases[] = {
        {"program start", [](status::DisplaySnapshot&) {}, colors::red, colors::black},
        {"connected, waiting for RealTraffic",
         [](status::DisplaySnapshot& d) {
             d.simConnected = true;
             d.rtSetup = false;
         },
         colors::yellow, colors::red},
        {"flight runs without a known user aircraft",
         [](status::DisplaySnapshot& d) {
             d.simConnected = d.simRunning = true;
             d.rtSetup = false;
             d.rtConnected = true;
             d.trafficStatus = 2;
         },
         colors::yellow, colors::yellow},
        {"everything flows",
         [](status::DisplaySnapshot& d) {
             d.simConnected = d.simRunning = true;
             d.userTitle = "Boeing 737-800";
             d.rtSetup = false;
             d.rtConnected = true;
             d.trafficStatus = 1;
         },
         colors::lime, colors::lime},
        {"set-up hides a connection",
         [](status::DisplaySnapshot& d) {
             d.rtConnected = true;
             d.trafficStatus = 1;
         },
         colors::red, colors::black},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RecordingCanvas canvas = paint(c.change);
        EXPECT_EQ(fillColorOf(canvas, {397, 30, 426, 113}), c.simulator);
        EXPECT_EQ(fillColorOf(canvas, {425, 30, 454, 113}), c.realTraffic);
        EXPECT_EQ(canvas.findText("Sim"), (Text{398, 63, "Sim", colors::lime}));
        EXPECT_EQ(canvas.findText("RT"), (Text{430, 63, "RT", colors::lime}));
    }
}

TEST_F(WindowPainterTest, StatusTextsFollowTheConnections) {
    const auto realTraffic = [](int weather, int traffic) {
        return [=](status::DisplaySnapshot& d) {
            d.rtSetup = false;
            d.rtConnected = true;
            d.rtVersionText = "RealTraffic 10.0.236";
            d.weatherStatus = weather;
            d.trafficStatus = traffic;
            d.qnhHectopascal = 1013;
            d.liveCount = 7;
        };
    };
    const auto simulator = [](status::DisplaySnapshot& d) {
        d.simConnected = true;
        d.simDisplayText = "Prepar3D v5.4";
        d.userStand = "A12";
        d.userTitle = "Cessna 172";
        d.userWingspanFound = false;
    };
    struct Case {
        const char* name;
        Change change;
        Text expected;
    };
    const Case cases[] = {
        {"qnh", realTraffic(1, 1), {642, 63, "qnh: 1013", colors::lime}},
        {"qnh without new data", realTraffic(2, 3), {642, 63, "qnh: 1013", colors::lime}},
        {"live count", realTraffic(3, 2), {642, 91, "live:   7", colors::lime}},
        {"version while traffic flows",
         realTraffic(1, 1),
         {458, 35, "RealTraffic 10.0.236", colors::lime}},
        {"version without new traffic",
         realTraffic(1, 2),
         {458, 35, "RealTraffic 10.0.236", colors::yellow}},
        {"weather flows", realTraffic(1, 1), {458, 63, "Weather", colors::lime}},
        {"traffic without new data", realTraffic(1, 2), {458, 91, "Traffic", colors::yellow}},
        {"simulator and user stand",
         simulator,
         {5, 35, "Prepar3D v5.4, user stand A12", colors::yellow}},
        {"user aircraft with a borrowed wingspan",
         simulator,
         {5, 63, "Cessna 172", colors::yellow}},
        {"no liveries", [](status::DisplaySnapshot&) {}, {5, 91, "# liveries: ...", colors::red}},
        {"liveries",
         [](status::DisplaySnapshot& d) { d.liveryCount = 1234; },
         {5, 91, "# liveries: 1234", colors::lime}},
        {"no simulator add-on airports",
         [](status::DisplaySnapshot&) {},
         {141, 91, "# simaddon: ...", colors::yellow}},
        {"third-party airports",
         [](status::DisplaySnapshot& d) { d.thirdpartyCount = 5; },
         {278, 91, "# thirdp: 5", colors::lime}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(paint(c.change).textAt(c.expected.x, c.expected.y), c.expected);
    }
}

TEST_F(WindowPainterTest, StatusTextsAreLeftOutWithoutTheirSource) {
    struct Case {
        const char* name;
        Change change;
        int x, y;
    };
    const auto connected = [](int weather, int traffic, int qnh) {
        return [=](status::DisplaySnapshot& d) {
            d.rtSetup = false;
            d.rtConnected = true;
            d.weatherStatus = weather;
            d.trafficStatus = traffic;
            d.qnhHectopascal = qnh;
        };
    };
    const Case cases[] = {
        {"qnh not known", connected(1, 1, 0), 642, 63},
        {"weather receiver stopped: no qnh", connected(3, 1, 1013), 642, 63},
        {"weather receiver stopped: no name", connected(3, 1, 1013), 458, 63},
        {"traffic receiver stopped: no count", connected(1, 3, 1013), 642, 91},
        {"traffic receiver stopped: no name", connected(1, 3, 1013), 458, 91},
        {"RealTraffic not connected: no version",
         [](status::DisplaySnapshot& d) {
             d.rtSetup = false;
             d.weatherStatus = d.trafficStatus = 1;
             d.qnhHectopascal = 1013;
         },
         458, 35},
        {"simulator not connected: no simulator",
         [](status::DisplaySnapshot& d) { d.simDisplayText = "Prepar3D v5.4"; }, 5, 35},
        {"simulator not connected: no user aircraft",
         [](status::DisplaySnapshot& d) { d.userTitle = "Cessna 172"; }, 5, 63},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(paint(c.change).textAt(c.x, c.y), std::nullopt);
    }
}

TEST_F(WindowPainterTest, LabelColoursFollowTheSettingsTheyDescribe) {
    using namespace settings;
    struct Case {
        const char* name;
        std::function<void(WindowPainterTest&, status::DisplaySnapshot&)> setUp;
        Text expected;
    };
    const auto none = [](WindowPainterTest&, status::DisplaySnapshot&) {};
    const Case cases[] = {
        {"scan for liveries on",
         [](auto&, auto&) { SCAN_LIVERIES.setCurrent(true); },
         {25, 147, "Scan for liveries", colors::yellow}},
        {"scan for liveries off",
         [](auto&, auto&) { SCAN_LIVERIES.setCurrent(false); },
         {25, 147, "Scan for liveries", colors::black}},
        {"scan for airports on",
         [](auto&, auto&) { SCAN_AIRPORTS.setCurrent(true); },
         {25, 175, "Scan for addon airports", colors::yellow}},
        {"GUID changes off",
         [](auto&, auto&) { GUID_CHANGES.setCurrent(false); },
         {768, 203, "GUID changes", colors::yellow}},
        {"GUID changes on", none, {768, 203, "GUID changes", colors::black}},
        {"light aircraft disabled",
         [](WindowPainterTest& t, auto&) { t.disabled.insert(LIGHT_AIRCRAFT.controlId); },
         {343, 203, "Light aircraft", colors::grey}},
        {"helicopters enabled", none, {450, 203, "Helicopters", colors::black}},
        {"fighter jets disabled",
         [](WindowPainterTest& t, auto&) { t.disabled.insert(HIGH_PERF_AIRCRAFT.controlId); },
         {556, 203, "FighterJets", colors::grey}},
        {"Ah: without auto radius",
         [](auto&, auto&) { AUTO_RANGE.setCurrent(false); },
         {430, 231, "Ah:", colors::grey}},
        {"ft without auto radius",
         [](auto&, auto&) { AUTO_RANGE.setCurrent(false); },
         {536, 231, "ft", colors::grey}},
        {"Ah: with auto radius",
         [](auto&, auto&) { AUTO_RANGE.setCurrent(true); },
         {430, 231, "Ah:", colors::black}},
        {"airborne only",
         [](auto&, auto&) { AIRBORNE_ONLY.setCurrent(true); },
         {592, 231, "AirOnly", colors::yellow}},
        {"aerowinx",
         [](auto&, auto&) { AEROWINX.setCurrent(true); },
         {672, 203, "Aerowinx", colors::yellow}},
        {"static computation runs",
         [](auto&, status::DisplaySnapshot& d) { d.staticComputationRunning = true; },
         {5, 315, "Airport parking", colors::yellow}},
        {"no parking at all: max park",
         [](auto&, auto&) {
             MAX_PARK_SEL.setCurrent(0);
             MAX_LIVE_SEL.setCurrent(0);
         },
         {171, 315, "Max park (static+live):", colors::red}},
        {"no parking at all: max live",
         [](auto&, auto&) {
             MAX_PARK_SEL.setCurrent(0);
             MAX_LIVE_SEL.setCurrent(0);
         },
         {401, 315, "Max live (park incl):", colors::red}},
        {"no static parking: max park",
         [](auto&, auto&) {
             MAX_PARK_SEL.setCurrent(0);
             MAX_LIVE_SEL.setCurrent(10);
         },
         {171, 315, "Max park (static+live):", colors::yellow}},
        {"no static parking: max live",
         [](auto&, auto&) {
             MAX_PARK_SEL.setCurrent(0);
             MAX_LIVE_SEL.setCurrent(10);
         },
         {401, 315, "Max live (park incl):", colors::black}},
        {"no live parking: max live",
         [](auto&, auto&) { MAX_LIVE_SEL.setCurrent(0); },
         {401, 315, "Max live (park incl):", colors::yellow}},
        {"straight push backs off",
         [](auto&, auto&) { STRAIGHT_PBS_ONLY.setCurrent(false); },
         {672, 315, "Straight push backs only", colors::grey}},
        {"straight push backs on",
         [](auto&, auto&) { STRAIGHT_PBS_ONLY.setCurrent(true); },
         {672, 315, "Straight push backs only", colors::black}},
        {"initial load only",
         [](auto&, auto&) { INITIAL_LOAD_ONLY.setCurrent(true); },
         {25, 371, "ILO", colors::yellow}},
        {"plain label", none, {646, 343, "ft", colors::black}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::resetParameters();
        disabled.clear();
        status::DisplaySnapshot display;
        c.setUp(*this, display);
        EXPECT_EQ(paint(display).textAt(c.expected.x, c.expected.y), c.expected);
    }
}

TEST_F(WindowPainterTest, ControlsBandNotesAppearOnlyWhenTheyApply) {
    struct Case {
        const char* name;
        bool initialLoadOnly;
        Change change;
        std::optional<Text> expected;
    };
    const auto loaded = [](int minutes, bool computing) {
        return [=](status::DisplaySnapshot& d) {
            d.parkAirportLoaded = true;
            d.minutesToRenewal = minutes;
            d.staticComputationRunning = computing;
        };
    };
    const Case cases[] = {
        {"renewal ahead", false, loaded(7, false), Text{5, 343, "(next in 7 min)", colors::black}},
        {"renewal just restarted", false, loaded(20, false), std::nullopt},
        {"renewal due", false, loaded(0, false), std::nullopt},
        {"no renewals", true, loaded(7, false), Text{5, 343, "(no next ... )", colors::black}},
        {"computation runs", false, loaded(7, true), std::nullopt},
        {"no park airport", false, [](status::DisplaySnapshot& d) { d.minutesToRenewal = 7; },
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings::INITIAL_LOAD_ONLY.setCurrent(c.initialLoadOnly);
        EXPECT_EQ(paint(c.change).textAt(5, 343), c.expected);
    }

    EXPECT_EQ(paint(status::DisplaySnapshot{}).textAt(303, 175), std::nullopt);
    const auto request =
        paint([](status::DisplaySnapshot& d) { d.tbloRequestShown = true; }).textAt(303, 175);
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->color, colors::yellow);
    EXPECT_NE(request->text.find("tblo.zip"), std::string::npos);
}

TEST_F(WindowPainterTest, PersistentErrorTurnsTheMessageBandRedAndHidesMessages) {
    const RecordingCanvas withError =
        paint(status::DisplaySnapshot{}, {"Prepare for a restart ...", "Error 41"});
    const auto fills = withError.fills();
    EXPECT_EQ(fills.back(), (RecordingCanvas::Fill{{0, 448, 881, 477}, colors::red}));
    EXPECT_EQ(withError.textAt(3, 455), (Text{3, 455, "Error 41", colors::yellow}));
    EXPECT_EQ(withError.findText("Prepare for a restart ..."), std::nullopt);

    const RecordingCanvas withMessage =
        paint(status::DisplaySnapshot{}, {"Prepare for a restart ...", ""});
    EXPECT_EQ(withMessage.fills().back(),
              (RecordingCanvas::Fill{{0, 448, 881, 477}, colors::lime}));
    EXPECT_EQ(withMessage.textAt(3, 455),
              (Text{3, 455, "Prepare for a restart ...", colors::yellow}));
}

status::ParkingDisplay frankfurt() {
    status::ParkingDisplay p;
    p.airportSet = true;
    p.code = "EDDF";
    p.readWithoutError = true;
    p.airportName = "Frankfurt";
    p.publisher = "Orbx";
    p.handmade = true;
    p.rtTrafficWeek = "23";
    p.weekInEffect = true;
    p.softInEffect = true;
    p.qualityFactor = "0.8";
    p.reservedStand = "V155";
    p.reservedStandKnown = false;
    p.updates = 3;
    p.stands = 120;
    p.parkedLive = 4;
    p.averageParkedHours = 2.5;
    p.wantedStaticCount = 40;
    p.wantedPercentage = 30;
    p.staticInSim = 35;
    p.staticQueued = 6;
    p.staticAverageFit = 3.5;
    return p;
}

TEST_F(WindowPainterTest, ParkingBandShowsTheParkAirport) {
    status::DisplaySnapshot display;
    display.parking = frankfurt();
    const RecordingCanvas canvas = paint(display);
    const std::vector<Text> expected = {
        {5, 399, "EDDF", colors::lime},
        {45, 399, " Frankfurt, Orbx (h), wk=23", colors::lime},
        {370, 399, "*WS*", colors::lime},
        {430, 399, "qf: 0.8", colors::lime},
        {571, 399, "reserved stand: V155", colors::red},
        {748, 399, "# updates:    3", colors::lime},
        {5, 427, "# stands: 120", colors::lime},
        {111, 427, "parked live:   4", colors::lime},
        {249, 427, "average fit: 2.5", colors::lime},
        {430, 427, "static:  35", colors::lime},
        {500, 427, " (6)", colors::yellow},
        {708, 427, "max park:  40 (=30 %)", colors::lime},
    };
    for (const Text& text : expected) {
        EXPECT_EQ(canvas.textAt(text.x, text.y), text);
    }
    // Week mode leaves out the static aircraft's fit.
    EXPECT_EQ(canvas.textAt(571, 427), std::nullopt);
}

TEST_F(WindowPainterTest, ParkingBandVariants) {
    struct Case {
        const char* name;
        std::function<void(status::ParkingDisplay&)> change;
        std::vector<Text> row399;
        std::vector<Text> row427;
    };
    const Case cases[] = {
        {"no park airport", [](status::ParkingDisplay& p) { p.airportSet = false; }, {}, {}},
        {"stand data unreadable",
         [](status::ParkingDisplay& p) { p.readWithoutError = false; },
         {{5, 399, "EDDF", colors::yellow}},
         {}},
        {"soft only, known stand, nothing wanted",
         [](status::ParkingDisplay& p) {
             p.weekInEffect = false;
             p.handmade = false;
             p.reservedStandKnown = true;
             p.averageParkedHours = 0;
             p.wantedStaticCount = 0;
         },
         {{5, 399, "EDDF", colors::lime},
          {45, 399, " Frankfurt, Orbx, wk=23", colors::lime},
          {370, 399, "*S*", colors::lime},
          {430, 399, "qf: 0.8", colors::lime},
          {571, 399, "reserved stand: V155", colors::lime},
          {748, 399, "# updates:    3", colors::lime}},
         {{5, 427, "# stands: 120", colors::lime},
          {111, 427, "parked live:   4", colors::lime},
          {708, 427, "no max park live", colors::lime}}},
        {"day mode, all placed, no reserved stand",
         [](status::ParkingDisplay& p) {
             p.weekInEffect = p.softInEffect = false;
             p.reservedStand.clear();
             p.staticQueued = 0;
         },
         {{5, 399, "EDDF", colors::lime},
          {45, 399, " Frankfurt, Orbx (h), wk=23", colors::lime},
          {430, 399, "qf: 0.8", colors::lime},
          {748, 399, "# updates:    3", colors::lime}},
         {{5, 427, "# stands: 120", colors::lime},
          {111, 427, "parked live:   4", colors::lime},
          {249, 427, "average fit: 2.5", colors::lime},
          {430, 427, "static:  35", colors::lime},
          {571, 427, "average fit: 3.5", colors::lime},
          {708, 427, "max park:  40 (=30 %)", colors::lime}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        status::DisplaySnapshot display;
        display.parking = frankfurt();
        c.change(display.parking);
        const RecordingCanvas canvas = paint(display);
        EXPECT_EQ(textsOnRow(canvas, 399), c.row399);
        EXPECT_EQ(textsOnRow(canvas, 427), c.row427);
    }
}

}  // namespace
}  // namespace corv::ui
