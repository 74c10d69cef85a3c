#include "skin/button_states.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora::skin {
namespace {

constexpr ButtonState kIdle{false, false};
constexpr ButtonState kHovered{true, false};
constexpr ButtonState kPressed{true, true};
constexpr ButtonState kPressedOff{false, true};

std::string Describe(const ButtonEffects& e) {
    std::string s;
    if (e.setFocus) s += "focus ";
    if (e.takeCapture) s += "take ";
    if (e.showTipText) s += "tip ";
    if (e.notifyParent) s += "notify ";
    if (e.redraw) s += "redraw ";
    if (e.releaseCapture) s += "release ";
    if (e.clearTipText) s += "untip ";
    if (e.setArrowCursor) s += "arrow ";
    return s;
}

ButtonEffects Effects(std::initializer_list<bool ButtonEffects::*> flags) {
    ButtonEffects e;
    for (bool ButtonEffects::*flag : flags) e.*flag = true;
    return e;
}

constexpr auto kTake = &ButtonEffects::takeCapture;
constexpr auto kTip = &ButtonEffects::showTipText;
constexpr auto kRedraw = &ButtonEffects::redraw;
constexpr auto kRelease = &ButtonEffects::releaseCapture;
constexpr auto kUntip = &ButtonEffects::clearTipText;
constexpr auto kNotify = &ButtonEffects::notifyParent;
constexpr auto kFocus = &ButtonEffects::setFocus;
constexpr auto kArrow = &ButtonEffects::setArrowCursor;

TEST(ButtonStatesTest, StillOnButton) {
    struct Case {
        bool inside, capture, underIsButton, still;
    };
    const Case cases[] = {
        {true, true, true, true},   {true, true, false, false},  // covered while hovered
        {true, false, true, true},  {true, false, false, false},
        {false, true, true, false}, {false, true, false, false},  // left it: captured, outside
        {false, false, true, true}, {false, false, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsCursorStillOnButton(c.inside, c.capture, c.underIsButton), c.still)
            << c.inside << c.capture << c.underIsButton;
    }
}

TEST(ButtonStatesTest, MouseMoveOfBothClasses) {
    struct Case {
        const char* what;
        ButtonState from;
        MouseMoveFacts facts;
        ButtonState to;
        ButtonEffects skinButton;
    };
    const Case cases[] = {
        {"enters", kIdle, {true, false, true}, kHovered, Effects({kTake, kTip, kRedraw})},
        {"moves on it", kHovered, {true, true, true}, kHovered, {}},
        {"moves on it pressed", kPressed, {true, true, true}, kPressed, {}},
        {"first move after a click", kIdle, {true, true, true}, kHovered, Effects({kRedraw})},
        {"leaves", kHovered, {false, true, false}, kIdle, Effects({kRedraw, kRelease, kUntip})},
        {"leaves pressed: press cancelled",
         kPressed,
         {false, true, false},
         kIdle,
         Effects({kRedraw, kRelease, kUntip})},
        {"leaves right after a click",
         kIdle,
         {false, true, false},
         kIdle,
         Effects({kRedraw, kRelease, kUntip})},
        {"covered while hovered", kHovered, {true, true, false}, kIdle, Effects({kRedraw, kRelease, kUntip})},
        {"covered on entering: no capture taken",
         kIdle,
         {true, false, false},
         kIdle,
         Effects({kRedraw, kUntip})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ButtonTransition skin = SkinButtonOnMouseMove(c.from, c.facts);
        EXPECT_EQ(skin.state, c.to);
        EXPECT_EQ(skin.effects, c.skinButton) << Describe(skin.effects);

        ButtonEffects trans = c.skinButton;
        trans.showTipText = trans.clearTipText = false;
        const ButtonTransition t = TransButtonOnMouseMove(c.from, TransButtonMode::kTextButton, c.facts);
        EXPECT_EQ(t.state, c.to);
        EXPECT_EQ(t.effects, trans) << Describe(t.effects);
        EXPECT_EQ(TransButtonOnMouseMove(c.from, TransButtonMode::kBitmap, c.facts).effects, trans);

        const ButtonTransition label = TransButtonOnMouseMove(c.from, TransButtonMode::kStatic, c.facts);
        EXPECT_EQ(label.state, c.from);
        EXPECT_EQ(label.effects, ButtonEffects{}) << Describe(label.effects);
    }
}

TEST(ButtonStatesTest, PressAndRelease) {
    struct Case {
        const char* what;
        ButtonTransition actual;
        ButtonState to;
        ButtonEffects effects;
    };
    const TransButtonMode text = TransButtonMode::kTextButton, label = TransButtonMode::kStatic;
    const Case cases[] = {
        {"skin: press", SkinButtonOnLeftDown(kHovered), kPressed, Effects({kRedraw})},
        {"skin: press again", SkinButtonOnLeftDown(kPressed), kPressed, {}},
        {"skin: release: click", SkinButtonOnLeftUp(kPressed, true), kIdle, Effects({kNotify, kRedraw})},
        {"skin: release without notify flag", SkinButtonOnLeftUp(kPressed, false), kIdle, Effects({kRedraw})},
        {"skin: release not pressed", SkinButtonOnLeftUp(kHovered, true), kHovered, {}},
        {"skin: release after drag out", SkinButtonOnLeftUp(kIdle, true), kIdle, {}},
        {"trans: press, focus taken", TransButtonOnLeftDown(kHovered, text, false), kPressed,
         Effects({kFocus, kRedraw})},
        {"trans: press with focus", TransButtonOnLeftDown(kHovered, text, true), kPressed,
         Effects({kRedraw})},
        {"trans: press again", TransButtonOnLeftDown(kPressed, text, true), kPressed, {}},
        {"trans: label takes focus only", TransButtonOnLeftDown(kIdle, label, false), kIdle,
         Effects({kFocus})},
        {"trans: release: click", TransButtonOnLeftUp(kPressed, text), kIdle, Effects({kNotify})},
        {"trans: release pressed off hover", TransButtonOnLeftUp(kPressedOff, text), kIdle,
         Effects({kNotify})},
        {"trans: release not pressed", TransButtonOnLeftUp(kHovered, text), kHovered, {}},
        {"trans: label release", TransButtonOnLeftUp(kPressed, label), kPressed, {}},
        {"trans: after click, on it", TransButtonAfterLeftUp(kIdle, text, true, true), kHovered,
         Effects({kRedraw})},
        {"trans: after click, off it", TransButtonAfterLeftUp(kIdle, text, true, false), kIdle,
         Effects({kRedraw, kArrow})},
        {"trans: no click, off it", TransButtonAfterLeftUp(kIdle, text, false, false), kIdle,
         Effects({kArrow})},
        {"trans: no click, on it", TransButtonAfterLeftUp(kHovered, text, false, true), kHovered, {}},
        {"trans: label after release", TransButtonAfterLeftUp(kIdle, label, false, false), kIdle, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.actual.state, c.to);
        EXPECT_EQ(c.actual.effects, c.effects) << Describe(c.actual.effects);
    }
}

// A button driven by a sequence of mouse events the way Windows delivers
// them: without the capture it only sees moves over itself.
class Simulator {
public:
    Simulator(bool trans, TransButtonMode mode, bool notifyParent)
        : trans_(trans), mode_(mode), notifyParent_(notifyParent) {}

    // The cursor moves to a point inside or outside the button; `covered`
    // puts another window over the button at that point.
    void Move(bool inside, bool covered = false) {
        const bool underIsButton = inside && !covered;
        if (!capture_ && !underIsButton) return;  // the move goes to another window
        const MouseMoveFacts facts{inside, capture_, IsCursorStillOnButton(inside, capture_, underIsButton)};
        Apply(trans_ ? TransButtonOnMouseMove(state_, mode_, facts) : SkinButtonOnMouseMove(state_, facts));
        inside_ = inside;
        covered_ = covered;
    }
    void Down() {
        if (!capture_ && !(inside_ && !covered_)) return;
        Apply(trans_ ? TransButtonOnLeftDown(state_, mode_, focus_) : SkinButtonOnLeftDown(state_));
    }
    void Up() {
        if (!capture_ && !(inside_ && !covered_)) return;
        if (!trans_) {
            Apply(SkinButtonOnLeftUp(state_, notifyParent_));
            return;
        }
        const ButtonTransition first = TransButtonOnLeftUp(state_, mode_);
        Apply(first);
        Apply(TransButtonAfterLeftUp(state_, mode_, first.effects.notifyParent, inside_ && !covered_));
    }

    ButtonLook Look() const { return ChooseLook(state_.pressed, state_.hover); }
    ButtonState state() const { return state_; }
    bool capture() const { return capture_; }
    int notifications() const { return notifications_; }

private:
    void Apply(const ButtonTransition& t) {
        state_ = t.state;
        if (t.effects.setFocus) focus_ = true;
        if (t.effects.takeCapture) {
            EXPECT_FALSE(capture_) << "capture taken twice";
            capture_ = true;
        }
        if (t.effects.notifyParent) ++notifications_;
        if (t.effects.releaseCapture) {
            EXPECT_TRUE(capture_) << "released a capture the button did not hold";
            capture_ = false;
        }
    }

    bool trans_;
    TransButtonMode mode_;
    bool notifyParent_;
    ButtonState state_;
    bool capture_ = false;
    bool focus_ = false;
    bool inside_ = false;
    bool covered_ = false;
    int notifications_ = 0;
};

enum Step { kIn, kOut, kCover, kDown, kUp };

struct Scenario {
    const char* what;
    bool trans;
    TransButtonMode mode;
    bool notifyParent;
    std::vector<Step> steps;
    int notifications;
    ButtonLook look;
    bool capture;
};

TEST(ButtonStatesTest, Scenarios) {
    const TransButtonMode text = TransButtonMode::kTextButton, bitmap = TransButtonMode::kBitmap,
                          label = TransButtonMode::kStatic;
    const ButtonLook normal = ButtonLook::kNormal, hover = ButtonLook::kHover, pressed = ButtonLook::kPressed;
    const Scenario scenarios[] = {
        {"skin: hover", false, text, true, {kIn}, 0, hover, true},
        {"skin: press", false, text, true, {kIn, kDown}, 0, pressed, true},
        {"skin: click sends one notification", false, text, true, {kIn, kIn, kDown, kUp}, 1, normal, true},
        {"skin: the next move shows hover again", false, text, true, {kIn, kDown, kUp, kIn}, 1, hover, true},
        {"skin: click with the notify flag off", false, text, false, {kIn, kDown, kUp}, 0, normal, true},
        {"skin: press, drag out, release outside",
         false,
         text,
         true,
         {kIn, kDown, kOut, kUp},
         0,
         normal,
         false},
        {"skin: coming back shows hover, not pressed",
         false,
         text,
         true,
         {kIn, kDown, kOut, kUp, kIn},
         0,
         hover,
         true},
        {"skin: press, drag out and back, release",
         false,
         text,
         true,
         {kIn, kDown, kOut, kIn, kUp},
         0,
         hover,
         true},
        {"skin: covered drops hover and the capture", false, text, true, {kIn, kCover}, 0, normal, false},
        {"skin: covered while pressed", false, text, true, {kIn, kDown, kCover, kUp}, 0, normal, false},
        {"skin: leave after a click", false, text, true, {kIn, kDown, kUp, kOut}, 1, normal, false},
        {"skin: two clicks", false, text, true, {kIn, kDown, kUp, kDown, kUp}, 2, normal, true},
        {"trans: click re-hovers", true, text, true, {kIn, kDown, kUp}, 1, hover, true},
        {"trans: bitmap click", true, bitmap, true, {kIn, kDown, kUp}, 1, hover, true},
        // The double click's second press is sent as a plain button-down.
        {"trans: double click sends two", true, bitmap, true, {kIn, kDown, kUp, kDown, kUp}, 2, hover, true},
        {"trans: press, drag out, release outside",
         true,
         text,
         true,
         {kIn, kDown, kOut, kUp},
         0,
         normal,
         false},
        {"trans: coming back shows hover", true, text, true, {kIn, kDown, kOut, kUp, kIn}, 0, hover, true},
        {"trans: covered", true, text, true, {kIn, kCover}, 0, normal, false},
        {"trans: label never changes",
         true,
         label,
         true,
         {kIn, kDown, kIn, kUp, kCover, kOut, kIn, kDown},
         0,
         normal,
         false},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.what);
        Simulator sim(s.trans, s.mode, s.notifyParent);
        for (Step step : s.steps) {
            switch (step) {
                case kIn:
                    sim.Move(true);
                    break;
                case kOut:
                    sim.Move(false);
                    break;
                case kCover:
                    sim.Move(true, true);
                    break;
                case kDown:
                    sim.Down();
                    break;
                case kUp:
                    sim.Up();
                    break;
            }
        }
        EXPECT_EQ(sim.notifications(), s.notifications);
        EXPECT_EQ(sim.Look(), s.look);
        EXPECT_EQ(sim.capture(), s.capture);
        if (s.mode == label) {
            EXPECT_EQ(sim.state(), kIdle);
        }
    }
}

}  // namespace
}  // namespace velmora::skin
