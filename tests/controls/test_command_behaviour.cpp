// The button's behaviour as event sequences: which faces it paints, when it reports a
// click, and its stored properties.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "shell/controls/command_behaviour.h"

namespace quorlane {
namespace {

const char* faceName(FaceImage face) {
    switch (face) {
    case FaceImage::Normal: return "Normal";
    case FaceImage::HighLight: return "HighLight";
    case FaceImage::HighLightSelect: return "HighLightSelect";
    case FaceImage::Pressed: return "Pressed";
    case FaceImage::Disable: return "Disable";
    case FaceImage::Selected: return "Selected";
    }
    return "?";
}

// Records what the behaviour asks of its window, one word per request.
class RecordingView : public CommandView {
public:
    std::vector<std::string> log;
    std::string text = "Command";
    FontDescription font;
    uint32_t colour = 0;
    bool captionEnabled = true;
    bool opaque = true;

    void paintFace(FaceImage face) override { log.push_back(faceName(face)); }
    void setCaptionEnabled(bool enabled) override {
        captionEnabled = enabled;
        log.push_back(enabled ? "label-on" : "label-off");
    }
    std::string captionText() const override { return text; }
    void setCaptionText(const std::string& value) override { text = value; }
    FontDescription captionFont() const override { return font; }
    void setCaptionFont(const FontDescription& value) override { font = value; }
    uint32_t captionColour() const override { return colour; }
    void setCaptionColour(uint32_t value) override {
        colour = value;
        log.push_back("colour=" + std::to_string(value));
    }
    void setFaceOpaque(bool value) override { opaque = value; }
    void setTakesFocus(bool) override {}
    void startHoverTimer(int ms) override { log.push_back("timer=" + std::to_string(ms)); }
    void raiseClick() override { log.push_back("CLICK"); }
    void markPropertyChanged(const char* name) override {
        log.push_back(std::string("changed:") + name);
    }
};

// Feeds one event, named as in the scenarios below.
void feed(CommandBehaviour& button, const std::string& event) {
    if (event == "init")
        button.initialize();
    else if (event == "focus+")
        button.focusArrives();
    else if (event == "focus-")
        button.focusLeaves();
    else if (event == "downL")
        button.buttonDown(MouseButton::Left);
    else if (event == "downR")
        button.buttonDown(MouseButton::Other);
    else if (event == "upL")
        button.buttonUp(MouseButton::Left);
    else if (event == "upR")
        button.buttonUp(MouseButton::Other);
    else if (event == "move")
        button.pointerMoves();
    else if (event == "above-in")
        button.windowsAboveChanged(true);
    else if (event == "above-out")
        button.windowsAboveChanged(false);
    else if (event == "tick-in")
        button.hoverTick(true);
    else if (event == "tick-out")
        button.hoverTick(false);
    else if (event == "size")
        button.sizeChanged();
    else if (event == "enable")
        button.setEnabled(true);
    else if (event == "disable")
        button.setEnabled(false);
    else if (event == "read-enabled")
        button.enabled();
    else
        ADD_FAILURE() << "unknown event " << event;
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

struct Scenario {
    const char* name;
    bool loaded;  // read from an empty stored set first, as a host loads a button
    const char* events;
    const char* expected;  // what the window was asked to do, after loading
    int state;
    bool held;
};

const Scenario kScenarios[] = {
    {"enter, rest, leave", true, "init move move tick-in tick-in tick-out tick-out",
     "timer=100 HighLight Normal", 1, false},
    {"click: focus face on the press, one click on the release", true, "init move focus+ downL upL",
     "timer=100 HighLight Pressed Pressed HighLightSelect CLICK", 4, false},
    {"click on a focused button hovered into", true, "init focus+ move downL upL",
     "timer=100 Selected HighLightSelect Pressed HighLightSelect CLICK", 4, false},
    {"press, drag out, back in, release: no click", true,
     "init move focus+ downL move tick-out move move upL tick-out",
     "timer=100 HighLight Pressed Pressed Selected", 3, false},
    // A chooser opened by the click takes the focus; closed, it gives it back to the button
    // under the resting pointer.
    {"chooser closed over the button: the next click counts", true,
     "init move focus+ downL upL focus- focus+ above-in downL upL",
     "timer=100 HighLight Pressed Pressed HighLightSelect CLICK Normal Selected HighLightSelect "
     "Pressed HighLightSelect CLICK",
     4, false},
    {"host active again before the focus returns", true,
     "init move focus+ downL upL focus- above-in focus+ downL upL",
     "timer=100 HighLight Pressed Pressed HighLightSelect CLICK Normal HighLight Pressed Pressed "
     "HighLightSelect CLICK",
     4, false},
    {"chooser closed with the pointer elsewhere: no hover, no click", true,
     "init move focus+ downL upL focus- focus+ above-out downL upL",
     "timer=100 HighLight Pressed Pressed HighLightSelect CLICK Normal Selected Pressed", 3, false},
    {"dragged out and back while a window above closes: still no click", true,
     "init move focus+ downL move tick-out above-in move upL",
     "timer=100 HighLight Pressed Pressed Selected", 3, false},
    {"released outside before the tick still clicks", true, "init move focus+ downL upL tick-out",
     "timer=100 HighLight Pressed Pressed HighLightSelect CLICK Selected", 3, false},
    {"right button over a hovered button", true, "init move downR upR", "timer=100 HighLight CLICK",
     2, false},
    {"right button over a focused button out of hover", true, "init focus+ downR upR",
     "timer=100 Selected", 3, false},
    {"left release without focus repaints Normal and clicks", true, "init move downL upL",
     "timer=100 HighLight Pressed Normal CLICK", 2, false},
    {"Tab focus, then away", true, "init focus+ focus- focus-", "timer=100 Selected Normal", 1,
     false},
    {"focus arriving on a hovered button shows it pressed", true, "init move focus+ tick-out",
     "timer=100 HighLight Pressed Selected", 3, false},
    {"disabled: pointer, buttons and focus change nothing", true,
     "init disable move focus+ downL upL downR upR tick-out focus-",
     "timer=100 changed:Enabled Disable label-off", 1, false},
    {"disabled while hovered: the poll leaves it alone", true, "init move disable tick-out",
     "timer=100 HighLight changed:Enabled Disable label-off", 2, false},
    {"disabling keeps the state and the held button", true, "init move focus+ downL disable enable",
     "timer=100 HighLight Pressed Pressed changed:Enabled Disable label-off changed:Enabled Normal "
     "label-on",
     4, true},
    {"enabled again while hovered: HighLight only after leaving and coming back", true,
     "init move disable enable move tick-out move",
     "timer=100 HighLight changed:Enabled Disable label-off changed:Enabled Normal label-on Normal "
     "HighLight",
     2, false},
    {"size change repaints by the enabled look", true, "init move size",
     "timer=100 HighLight Normal label-on", 2, false},
    {"before initialize: no hover, first click only focuses", true,
     "move focus+ downL upL move downL upL",
     "Selected Pressed HighLightSelect Pressed HighLightSelect CLICK", 4, false},
    {"initialize again resets the state without painting", true, "init move init",
     "timer=100 HighLight timer=100", 1, false},
    {"never loaded: disabled until first read", false, "init move focus+ downL upL", "timer=100", 1,
     false},
    {"never loaded: the first read enables it for good", false,
     "read-enabled move downL upL read-enabled", "Normal label-on Pressed CLICK Normal label-on", 0,
     false},
};

TEST(CommandBehaviour, EventSequences) {
    for (const Scenario& scenario : kScenarios) {
        SCOPED_TRACE(scenario.name);
        RecordingView view;
        CommandBehaviour button(view);
        if (scenario.loaded) button.readProperties({}, FontDescription{});
        view.log.clear();
        for (const std::string& event : words(scenario.events)) feed(button, event);
        EXPECT_EQ(view.log, words(scenario.expected));
        EXPECT_EQ(static_cast<int>(button.state()), scenario.state);
        EXPECT_EQ(button.mouseHeld(), scenario.held);
    }
}

TEST(CommandBehaviour, FirstUseInitialisation) {
    RecordingView view;
    view.colour = 0x0000FF;
    CommandBehaviour button(view);
    EXPECT_FALSE(button.enabledValue());
    EXPECT_EQ(button.firstRun(), 0);

    // A disabled first-use button ignores refreshes; the first read enables it and paints.
    button.fontColour();
    EXPECT_TRUE(view.log.empty());
    EXPECT_TRUE(button.enabled());
    EXPECT_EQ(button.firstRun(), 1);
    EXPECT_EQ(view.log, words("Normal label-on"));

    // Stored with FirstRun 0: every refresh turns the caption black again.
    PropertySet stored;
    stored.set("FirstRun", int32_t{0});
    stored.set("FontColour", int32_t{0x0000FF});
    RecordingView fresh;
    CommandBehaviour loaded(fresh);
    loaded.readProperties(stored, {});
    EXPECT_EQ(fresh.colour, 0u);
    fresh.log.clear();
    loaded.setFontColour(0x00FF00);
    EXPECT_EQ(fresh.log, words("colour=65280 label-on colour=0 Normal changed:FontColour"));
    EXPECT_TRUE(loaded.enabled());
    EXPECT_EQ(loaded.firstRun(), 1);
    loaded.setFontColour(0x00FF00);
    EXPECT_EQ(fresh.colour, 0x00FF00u);
}

TEST(CommandBehaviour, PropertyReadsRepaintAndRefusedColoursAreNotMarked) {
    RecordingView view;
    CommandBehaviour button(view);
    button.readProperties({}, {});
    view.log.clear();

    view.colour = 0x123456;
    EXPECT_EQ(button.fontColour(), 0x123456u);
    EXPECT_EQ(button.visible(), 255);
    EXPECT_EQ(view.log, words("label-on Normal label-on Normal"));

    view.log.clear();
    button.setFontColour(0x80000012u);  // not an RGB value
    EXPECT_EQ(view.colour, 0x123456u);
    EXPECT_EQ(view.log, words("label-on Normal"));

    view.log.clear();
    button.setVisible(0);
    EXPECT_FALSE(view.opaque);
    EXPECT_EQ(button.visible(), 0);
    button.setVisible(7);
    EXPECT_TRUE(view.opaque);
    EXPECT_EQ(view.log, words("changed:Visible label-on Normal changed:Visible"));

    view.log.clear();
    button.setCaption("設定");
    EXPECT_EQ(button.caption(), "設定");
    EXPECT_EQ(view.log, words("changed:Caption"));
}

std::vector<std::string> keysOf(const PropertySet& stored) {
    std::vector<std::string> keys;
    for (const auto& entry : stored.entries()) keys.push_back(entry.first);
    return keys;
}

TEST(CommandBehaviour, StoredPropertiesDefaultsOrderAndBadValues) {
    const FontDescription ambient{"Ambient", 12, 400, false, false, false, 0};
    const FontDescription gothic{"ＭＳ Ｐゴシック", 9.75, 700, true, false, false, 128};

    // No keys: everything at its default.
    RecordingView view;
    CommandBehaviour button(view);
    button.readProperties({}, ambient);
    EXPECT_TRUE(button.enabledValue());
    EXPECT_EQ(view.text, "Command1");
    EXPECT_EQ(view.font, ambient);
    EXPECT_EQ(button.firstRun(), 1);
    EXPECT_EQ(view.colour, 0u);
    EXPECT_TRUE(view.opaque);
    EXPECT_EQ(view.log, words("colour=0 label-on Normal"));
    EXPECT_TRUE(button.writeProperties(ambient).entries().empty());

    // Every value off its default is written, in the stored order.
    view.text = "設定";
    view.font = gothic;
    view.colour = 0x00FFFFFF;
    button.setEnabled(false);
    button.setVisible(0);
    PropertySet stored = button.writeProperties(ambient);
    EXPECT_EQ(keysOf(stored),
              (std::vector<std::string>{"Enabled", "Caption", "Font", "FontColour", "Visible"}));

    stored.set("FirstRun", int32_t{0});
    RecordingView copy;
    CommandBehaviour reloaded(copy);
    reloaded.readProperties(stored, ambient);
    EXPECT_FALSE(reloaded.enabledValue());
    EXPECT_EQ(copy.text, "設定");
    EXPECT_EQ(copy.font, gothic);
    EXPECT_EQ(copy.colour, 0x00FFFFFFu);
    EXPECT_FALSE(copy.opaque);
    EXPECT_EQ(reloaded.firstRun(), 0);
    EXPECT_EQ(keysOf(reloaded.writeProperties(ambient)),
              (std::vector<std::string>{"Enabled", "Caption", "FirstRun", "Font", "FontColour",
                                        "Visible"}));

    // Values of the wrong kind or out of range are skipped; the others still load.
    PropertySet bad;
    bad.set("Enabled", int32_t{0});
    bad.set("Caption", int32_t{5});
    bad.set("FirstRun", int32_t{300});
    bad.set("FontColour", int32_t{-1});
    bad.set("Visible", int32_t{2});
    RecordingView skipped;
    skipped.colour = 0x00AA00;
    CommandBehaviour partial(skipped);
    partial.readProperties(bad, ambient);
    EXPECT_FALSE(partial.enabledValue());
    EXPECT_EQ(skipped.text, "Command");
    EXPECT_EQ(partial.firstRun(), 0);
    EXPECT_EQ(skipped.colour, 0x00AA00u);
    EXPECT_TRUE(skipped.opaque);
}

TEST(CommandBehaviour, StoredValuesOfAnotherKindKeepWhatWasLoaded) {
    const FontDescription ambient{"Ambient", 12, 400, false, false, false, 0};
    const FontDescription gothic{"ＭＳ Ｐゴシック", 9.75, 700, true, false, false, 128};
    PropertySet first;
    first.set("Enabled", false);
    first.set("Caption", std::string("設定"));
    first.set("Font", gothic);
    first.set("FirstRun", int32_t{0});
    first.set("FontColour", int32_t{0x123456});
    first.set("Visible", int32_t{0});
    // Each key holds a kind it never takes; none of them is its default either.
    PropertySet mixedUp;
    mixedUp.set("Enabled", std::string("yes"));
    mixedUp.set("Caption", gothic);
    mixedUp.set("Font", int32_t{1});
    mixedUp.set("FirstRun", true);
    mixedUp.set("FontColour", std::string("red"));
    mixedUp.set("Visible", true);

    RecordingView view;
    CommandBehaviour button(view);
    button.readProperties(first, ambient);
    button.readProperties(mixedUp, ambient);
    EXPECT_FALSE(button.enabledValue());
    EXPECT_EQ(view.text, "設定");
    EXPECT_EQ(view.font, gothic);
    EXPECT_EQ(button.firstRun(), 0);
    EXPECT_EQ(view.colour, 0x123456u);
    EXPECT_FALSE(view.opaque);
}

}  // namespace
}  // namespace quorlane
