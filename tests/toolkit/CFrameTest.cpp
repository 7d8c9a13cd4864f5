#include "toolkit/CFrame.h"

#include <gtest/gtest.h>

#include "ViewProbe.h"
#include "toolkit/MouseObserver.h"

namespace toolkit {
namespace {

// One scripted input step and what it must produce.
enum class Do { Move, Press, Release, Leave };
struct Step {
    Do action;
    CPosition where;
    int32_t buttons;
    MouseResult result;
    const char* log;  // events the views received, in order
};

void runScript(FrameRig& rig, const std::vector<Step>& steps) {
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        SCOPED_TRACE("step " + std::to_string(i));
        rig.log.clear();
        MouseResult r = 0;
        switch (s.action) {
            case Do::Move: r = rig.platform->movePointer(s.where, s.buttons); break;
            case Do::Press: r = rig.platform->pressButton(s.where, s.buttons); break;
            case Do::Release: r = rig.platform->releaseButton(s.where, s.buttons); break;
            case Do::Leave:
                rig.platform->pointer = s.where;
                r = rig.platform->leaveWindow();
                break;
        }
        EXPECT_EQ(r, s.result);
        EXPECT_EQ(rig.log.joined(), s.log);
    }
}

// A at (10,10)-(50,50) in the frame; container C at (100,0)-(200,100)
// holding B at (10,10)-(40,40) of C, i.e. (110,10)-(140,40) of the frame.
struct Layout : FrameRig {
    Layout() {
        a = probe("A", CRectangle(10, 10, 50, 50));
        c = container("C", CRectangle(100, 0, 200, 100));
        b = probe("B", CRectangle(10, 10, 40, 40), c);
    }
    ProbeView* a;
    ProbeContainer* c;
    ProbeView* b;
};

TEST(CFrame, HoverSendsExitThenEnterInEachViewsOwnCoordinates) {
    Layout rig;
    runScript(rig, {
        {Do::Move, {20, 20}, 0, kMouseHandled, "A:entered(20,20)"},
        {Do::Move, {25, 26}, 0, kMouseHandled, "A:moved(25,26)"},
        {Do::Move, {115, 15}, 0, kMouseHandled, "A:exited(115,15) B:entered(15,15)"},
        {Do::Move, {150, 90}, 0, kMouseHandled, "B:exited(50,90)"},
        {Do::Move, {150, 91}, 0, kMouseNotHandled, ""},
        {Do::Move, {30, 30}, 0, kMouseHandled, "A:entered(30,30)"},
        {Do::Leave, {250, 30}, 0, kMouseHandled, "A:exited(250,30)"},
        {Do::Leave, {250, 30}, 0, kMouseHandled, ""},
    });
    EXPECT_EQ(rig.frame->getMouseOverView(), nullptr);
}

TEST(CFrame, HoverMovesCarryNoButtons) {
    Layout rig;
    rig.platform->movePointer(CPosition(20, 20), 0);
    rig.platform->movePointer(CPosition(21, 20), kButtonRight | kModifierShift);
    EXPECT_EQ(rig.a->lastButtons, 0);
}

TEST(CFrame, ADragKeepsTheMovesAndNeverEntersOrExits) {
    Layout rig;
    runScript(rig, {
        {Do::Move, {20, 20}, 0, kMouseHandled, "A:entered(20,20)"},
        // The press first ends the hover (frame coordinates), then lands.
        {Do::Press, {20, 20}, kButtonLeft, kMouseHandled, "A:exited(20,20) A:down(20,20)"},
        {Do::Move, {120, 20}, kButtonLeft, kMouseHandled, "A:moved(120,20)"},
        {Do::Move, {130, 30}, kButtonLeft, kMouseHandled, "A:moved(130,30)"},
        {Do::Release, {130, 30}, kButtonLeft, kMouseHandled, "A:up(130,30)"},
        {Do::Move, {130, 30}, 0, kMouseHandled, "B:entered(30,30)"},
    });
    EXPECT_EQ(rig.a->lastButtons, kButtonLeft);
}

TEST(CFrame, ANotHandledPressIsNotCapturedAndItsReleaseReachesNoView) {
    Layout rig;
    rig.a->downResult = kMouseNotHandled;
    runScript(rig, {
        {Do::Press, {20, 20}, kButtonLeft, kMouseNotHandled, "A:down(20,20)"},
        {Do::Release, {20, 20}, kButtonLeft, kMouseNotHandled, ""},
    });
    EXPECT_FALSE(rig.platform->captured);
    rig.a->downResult = kMouseHandled;
    rig.platform->pressButton(CPosition(20, 20), kButtonLeft);
    EXPECT_TRUE(rig.platform->captured);
    rig.platform->releaseButton(CPosition(20, 20), kButtonLeft);
    EXPECT_FALSE(rig.platform->captured);
}

TEST(CFrame, LeaveTrackingIsRequestedOnceAndReArmedAfterTheLeave) {
    Layout rig;
    rig.platform->movePointer(CPosition(1, 1));
    rig.platform->movePointer(CPosition(2, 1));
    EXPECT_EQ(rig.platform->leaveRequests, 1);
    rig.platform->leaveWindow();
    rig.platform->movePointer(CPosition(3, 1));
    EXPECT_EQ(rig.platform->leaveRequests, 2);
}

struct RecordingObserver : MouseObserver {
    explicit RecordingObserver(EventLog& l) : log(l) {}
    void onMouseEntered(CView* v, CFrame*) override { log.add(static_cast<ProbeView*>(v)->name, "obsEntered"); }
    void onMouseExited(CView* v, CFrame*) override { log.add(static_cast<ProbeView*>(v)->name, "obsExited"); }
    void onMouseMoved(CFrame*, const CPosition& p) override { log.add("observer", "moved", p); }
    void onMouseDown(CFrame*, const CPosition& p) override { log.add("observer", "down", p); }
    EventLog& log;
};

TEST(CFrame, TheMouseObserverHearsEveryStep) {
    Layout rig;
    RecordingObserver observer(rig.log);
    rig.frame->setMouseObserver(&observer);
    EXPECT_EQ(rig.frame->getMouseObserver(), &observer);
    runScript(rig, {
        {Do::Move, {20, 20}, 0, kMouseHandled,
         "observer:moved(20,20) A:entered(20,20) A:obsEntered"},
        {Do::Press, {20, 20}, kButtonLeft, kMouseHandled,
         "A:exited(20,20) A:obsExited observer:down(20,20) A:down(20,20)"},
        {Do::Release, {20, 20}, kButtonLeft, kMouseHandled, "A:up(20,20)"},
        {Do::Move, {21, 20}, 0, kMouseHandled,
         "observer:moved(21,20) A:entered(21,20) A:obsEntered"},
        {Do::Leave, {300, 20}, 0, kMouseHandled, "A:exited(300,20) A:obsExited"},
    });
}

TEST(CFrame, WheelGoesToTheTopmostChildUnlessADragIsRunning) {
    Layout rig;
    struct Case {
        int32_t delta;
        CPosition where;
        bool handled;
        const char* log;
    } cases[] = {
        {240, {20, 20}, true, "A:wheel2(20,20)"},
        {-240, {20, 20}, true, "A:wheel-2(20,20)"},
        {60, {20, 20}, true, "A:wheel0(20,20)"},  // less than a notch
        {120, {115, 15}, true, "B:wheel1(15,15)"},
        {120, {150, 90}, false, ""},
        {120, {70, 70}, false, ""},
    };
    for (const Case& c : cases) {
        rig.log.clear();
        EXPECT_EQ(rig.platform->turnWheel(c.where, c.delta), c.handled);
        EXPECT_EQ(rig.log.joined(), c.log);
    }
    rig.platform->pressButton(CPosition(20, 20), kButtonLeft);
    rig.log.clear();
    EXPECT_FALSE(rig.platform->turnWheel(CPosition(20, 20), 120));
    EXPECT_EQ(rig.log.joined(), "");
    // A horizontal scroll reaches a plain view reversed.
    rig.platform->releaseButton(CPosition(20, 20), kButtonLeft);
    rig.log.clear();
    rig.frame->wheelOnAxis(CPosition(20, 20), kWheelHorizontal, 1.0f, 0);
    EXPECT_EQ(rig.log.joined(), "A:wheel-1(20,20)");
}

TEST(CFrame, AModalViewTakesAllMouseInput) {
    Layout rig;
    auto* modal = new ProbeView("M", CRectangle(60, 60, 90, 90), rig.log);
    ASSERT_TRUE(rig.frame->setModalView(modal));
    EXPECT_EQ(rig.frame->getModalView(), modal);
    EXPECT_EQ(rig.frame->childAt(rig.frame->childCount() - 1), modal) << "drawn last, on top";
    runScript(rig, {
        {Do::Press, {20, 20}, kButtonLeft, kMouseNotHandled, ""},
        {Do::Release, {20, 20}, kButtonLeft, kMouseNotHandled, ""},
        {Do::Move, {20, 20}, 0, kMouseHandled, "M:moved(20,20)"},
        {Do::Press, {70, 70}, kButtonLeft, kMouseHandled, "M:down(70,70)"},
        {Do::Release, {70, 70}, kButtonLeft, kMouseHandled, "M:up(70,70)"},
    });
    rig.log.clear();
    EXPECT_TRUE(rig.platform->turnWheel(CPosition(20, 20), 120));
    EXPECT_EQ(rig.log.joined(), "M:wheel1(20,20)");

    modal->downResult = kMouseHandledNoTracking;
    EXPECT_EQ(rig.platform->pressButton(CPosition(70, 70), kButtonLeft), kMouseNotHandled);
    modal->downResult = kMouseHandled;
    modal->retain();
    EXPECT_TRUE(rig.frame->setModalView(nullptr));
    EXPECT_FALSE(rig.frame->hasChild(modal));
    EXPECT_EQ(modal->referenceCount(), 2) << "removal without forget keeps the creator's reference";
    modal->release();
    modal->release();
}

TEST(CFrame, SetModalViewRefusals) {
    Layout rig;
    ProbeView first("first", CRectangle(), rig.log);
    ProbeView second("second", CRectangle(), rig.log);
    first.retain();  // the frame must never drop the last reference of a stack object
    second.retain();
    EXPECT_FALSE(rig.frame->setModalView(rig.a)) << "already attached";
    EXPECT_TRUE(rig.frame->setModalView(&first));
    EXPECT_FALSE(rig.frame->setModalView(&second)) << "another modal view exists";
    EXPECT_EQ(rig.frame->getModalView(), &first);
    EXPECT_TRUE(rig.frame->removeChild(&first, false));
    EXPECT_EQ(rig.frame->getModalView(), nullptr) << "removing the modal view clears it";
    EXPECT_TRUE(rig.frame->setModalView(&second));
    EXPECT_TRUE(rig.frame->setModalView(nullptr));
}

TEST(CFrame, TabWithAModalViewFocusesOnlyTheModalView) {
    Layout rig;
    rig.a->setAcceptsFocus(true);
    auto* modal = new ProbeView("M", CRectangle(60, 60, 90, 90), rig.log);
    modal->setAcceptsFocus(true);
    rig.frame->setModalView(modal);
    VstKeyCode tab = key(kVirtualKeyTab);
    EXPECT_EQ(rig.frame->keyDown(tab), 1);
    EXPECT_EQ(rig.frame->getFocusView(), modal);
    EXPECT_EQ(rig.frame->keyDown(tab), -1);
    EXPECT_EQ(rig.frame->getFocusView(), modal);
    rig.frame->setModalView(nullptr);
    modal->release();
}

// f1, f2 (inside container N), plain, f3: focusable views in tree order.
struct FocusLayout : FrameRig {
    FocusLayout() {
        f1 = probe("f1", CRectangle(0, 0, 10, 10));
        n = container("N", CRectangle(20, 0, 60, 40));
        f2 = probe("f2", CRectangle(0, 0, 10, 10), n);
        plain = probe("plain", CRectangle(70, 0, 80, 10));
        f3 = probe("f3", CRectangle(90, 0, 100, 10));
        for (CView* v : {f1, f2, f3}) v->setAcceptsFocus(true);
    }
    ProbeView *f1, *f2, *f3, *plain;
    ProbeContainer* n;
};

TEST(CFrame, TabWalksTheFocusThroughTheTreeAndShiftTabWalksBack) {
    FocusLayout rig;
    VstKeyCode tab = key(kVirtualKeyTab);
    VstKeyCode backTab = key(kVirtualKeyTab, kKeyModifierShift);
    struct Row {
        VstKeyCode* k;
        int32_t answer;
        CView* focus;
        const char* log;
    } rows[] = {
        {&tab, 1, rig.f1, "f1:keyDown f1:focusGained"},
        {&tab, 1, rig.f2, "f1:keyDown N:newFocus f1:focusLost f2:focusGained"},
        {&tab, 1, rig.f3, "f2:keyDown N:oldFocus f2:focusLost f3:focusGained"},
        {&backTab, 1, rig.f2, "f3:keyDown N:newFocus f3:focusLost f2:focusGained"},
        {&backTab, 1, rig.f1, "f2:keyDown N:oldFocus f2:focusLost f1:focusGained"},
        {&backTab, -1, nullptr, "f1:keyDown f1:focusLost"},
    };
    // Every keyDown first offers the key to the focus view (which declines).
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        rig.log.clear();
        EXPECT_EQ(rig.frame->keyDown(*rows[i].k), rows[i].answer);
        EXPECT_EQ(rig.frame->getFocusView(), rows[i].focus);
        std::string expected = rows[i].log;
        if (i == 0) expected = expected.substr(std::string("f1:keyDown ").size());
        EXPECT_EQ(rig.log.joined(), expected);
    }
}

TEST(CFrame, KeysGoToTheFocusViewThenTheModalViewOnly) {
    FocusLayout rig;
    auto* modal = new ProbeView("M", CRectangle(60, 60, 90, 90), rig.log);
    rig.frame->setModalView(modal);
    VstKeyCode k = key(13);
    EXPECT_EQ(rig.frame->keyDown(k), -1);
    EXPECT_EQ(rig.log.joined(), "M:keyDown") << "other children are not offered keys";
    rig.frame->setFocusView(rig.f3);
    rig.log.clear();
    EXPECT_EQ(rig.frame->keyUp(k), -1);
    EXPECT_EQ(rig.log.joined(), "f3:keyUp M:keyUp");
    rig.f3->keyResult = 5;
    rig.log.clear();
    EXPECT_EQ(rig.frame->keyDown(k), 5);
    EXPECT_EQ(rig.log.joined(), "f3:keyDown");
    rig.frame->setModalView(nullptr);
    modal->release();
}

TEST(CFrame, AClickClearsTheFocusBeforeItIsDelivered) {
    FocusLayout rig;
    rig.frame->setFocusView(rig.f2);
    rig.log.clear();
    rig.platform->pressButton(CPosition(5, 5), kButtonLeft);
    EXPECT_EQ(rig.log.joined(), "N:oldFocus f2:focusLost f1:down(5,5)");
    EXPECT_EQ(rig.frame->getFocusView(), nullptr);
}

TEST(CFrame, FocusChangesStartedDuringAFocusChangeAreIgnored) {
    FocusLayout rig;
    rig.frame->setFocusView(rig.f1);
    rig.f1->onFocusLost = [&](ProbeView&) { rig.frame->setFocusView(rig.f3); };
    rig.frame->setFocusView(rig.f2);
    EXPECT_EQ(rig.frame->getFocusView(), rig.f2);
    // The guard is released afterwards.
    rig.f1->onFocusLost = nullptr;
    rig.frame->setFocusView(rig.f3);
    EXPECT_EQ(rig.frame->getFocusView(), rig.f3);
}

TEST(CFrame, FocusMarksViewsThatAcceptItDirty) {
    FocusLayout rig;
    rig.f1->setDirty(false);
    rig.plain->setDirty(false);
    rig.frame->setFocusView(rig.f1);
    EXPECT_TRUE(rig.f1->isDirty());
    rig.f1->setDirty(false);
    rig.log.clear();
    rig.frame->setFocusView(rig.plain);
    EXPECT_TRUE(rig.f1->isDirty());
    EXPECT_FALSE(rig.plain->isDirty());
    EXPECT_EQ(rig.log.joined(), "f1:focusLost");
}

TEST(CFrame, RemovedTargetsAreNeverReachedAgain) {
    struct Case {
        const char* label;
        std::function<void(Layout&)> arm;    // makes the view a target
        std::function<void(Layout&)> after;  // drives input that would reach it
    } cases[] = {
        {"mouse-down view removed during the drag",
         [](Layout& r) { r.platform->pressButton(CPosition(20, 20), kButtonLeft); },
         [](Layout& r) {
             EXPECT_EQ(r.platform->movePointer(CPosition(21, 21), kButtonLeft), kMouseNotHandled);
             EXPECT_EQ(r.platform->releaseButton(CPosition(21, 21), kButtonLeft), kMouseNotHandled);
         }},
        {"mouse-over view removed",
         [](Layout& r) { r.platform->movePointer(CPosition(20, 20)); },
         [](Layout& r) {
             r.platform->movePointer(CPosition(120, 20));
             r.platform->leaveWindow();
             r.platform->pressButton(CPosition(150, 90), kButtonLeft);
         }},
        {"focus view removed",
         [](Layout& r) {
             r.a->setAcceptsFocus(true);
             r.frame->setFocusView(r.a);
         },
         [](Layout& r) {
             VstKeyCode k = key(13);
             r.frame->keyDown(k);
             r.frame->keyUp(k);
             VstKeyCode tab = key(kVirtualKeyTab);
             r.frame->keyDown(tab);
             EXPECT_EQ(r.frame->getFocusView(), nullptr);
         }},
        {"modal view removed",
         [](Layout& r) {
             r.frame->removeChild(r.a, false);
             r.frame->setModalView(r.a);
         },
         [](Layout& r) {
             EXPECT_EQ(r.frame->getModalView(), nullptr);
             r.platform->pressButton(CPosition(20, 20), kButtonLeft);
             VstKeyCode k = key(13);
             r.frame->keyDown(k);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Layout rig;
        int destroyed = 0;
        rig.a->destroyed = &destroyed;
        c.arm(rig);
        rig.a->retain();
        EXPECT_TRUE(rig.frame->removeChild(rig.a, true));
        EXPECT_EQ(destroyed, 0);
        rig.a->release();
        EXPECT_EQ(destroyed, 1);
        rig.log.clear();
        c.after(rig);
        EXPECT_EQ(rig.log.joined().find("A:"), std::string::npos) << rig.log.joined();
    }
}

TEST(CFrame, RemovingAContainerForgetsTargetsInsideIt) {
    Layout rig;
    int destroyed = 0;
    rig.b->destroyed = &destroyed;
    rig.b->setAcceptsFocus(true);
    rig.platform->movePointer(CPosition(120, 20));
    rig.frame->setFocusView(rig.b);
    EXPECT_EQ(rig.frame->getMouseOverView(), rig.b);
    rig.frame->removeChild(rig.c, true);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(rig.frame->getMouseOverView(), nullptr);
    EXPECT_EQ(rig.frame->getFocusView(), nullptr);
    rig.log.clear();
    rig.platform->movePointer(CPosition(20, 20));
    rig.platform->leaveWindow();
    VstKeyCode k = key(13);
    rig.frame->keyDown(k);
    EXPECT_EQ(rig.log.joined(), "A:entered(20,20) A:exited(20,20)");
}

TEST(CFrame, ViewsThatRemoveThemselvesWhileHandlingAreLetGo) {
    struct Case {
        const char* label;
        void (*arm)(ProbeView&, CFrame&);
        void (*drive)(StandInFramePlatform&);
    } cases[] = {
        {"in mouseDown",
         [](ProbeView& v, CFrame& f) {
             v.onMouseDown = [&f](ProbeView& self) { f.removeChild(&self, true); };
         },
         [](StandInFramePlatform& p) {
             EXPECT_EQ(p.pressButton(CPosition(20, 20), kButtonLeft), kMouseHandled);
             EXPECT_EQ(p.movePointer(CPosition(21, 21), kButtonLeft), kMouseNotHandled);
             EXPECT_EQ(p.releaseButton(CPosition(21, 21), kButtonLeft), kMouseNotHandled);
         }},
        {"in mouseEntered",
         [](ProbeView& v, CFrame& f) {
             v.onMouseEntered = [&f](ProbeView& self) { f.removeChild(&self, true); };
         },
         [](StandInFramePlatform& p) {
             p.movePointer(CPosition(20, 20));
             p.movePointer(CPosition(120, 20));
             p.leaveWindow();
         }},
        {"in mouseMoved during a drag",
         [](ProbeView& v, CFrame& f) {
             v.onMouseMoved = [&f](ProbeView& self) { f.removeChild(&self, true); };
         },
         [](StandInFramePlatform& p) {
             p.pressButton(CPosition(20, 20), kButtonLeft);
             p.movePointer(CPosition(21, 21), kButtonLeft);
             EXPECT_EQ(p.releaseButton(CPosition(21, 21), kButtonLeft), kMouseNotHandled);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Layout rig;
        int destroyed = 0;
        rig.a->destroyed = &destroyed;
        c.arm(*rig.a, *rig.frame);
        c.drive(*rig.platform);
        EXPECT_EQ(destroyed, 1);
        EXPECT_EQ(rig.frame->getMouseDownView(), nullptr);
        EXPECT_EQ(rig.frame->getMouseOverView() == nullptr ||
                      rig.frame->getMouseOverView() == rig.b,
                  true);
    }
}

TEST(CFrame, SetFrameSize) {
    struct Case {
        const char* label;
        bool open;
        bool chainEndsEarly;
        int32_t w, h;
        bool answer;
        CRectangle rect;
        size_t chainResizes;
    } cases[] = {
        {"same size", true, false, 200, 100, false, {0, 0, 200, 100}, 0},
        {"closed", false, false, 300, 100, false, {0, 0, 200, 100}, 0},
        {"grows", true, false, 300, 150, true, {0, 0, 300, 150}, 1},
        {"chain cannot follow", true, true, 300, 150, true, {0, 0, 200, 100}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        FrameRig rig;
        rig.frame->setOpen(c.open);
        rig.platform->chainEndsEarly = c.chainEndsEarly;
        EXPECT_EQ(rig.frame->setFrameSize(c.w, c.h), c.answer);
        EXPECT_EQ(rig.frame->getViewRect(), c.rect);
        EXPECT_EQ(rig.platform->chainResizes.size(), c.chainResizes);
        EXPECT_EQ(rig.platform->backBufferReleases, static_cast<int32_t>(c.chainResizes));
    }
}

TEST(CFrame, HostWindowQueriesNeedAnOpenFrame) {
    FrameRig rig;
    rig.platform->hostX = 7;
    rig.platform->hostY = 8;
    rig.platform->hostRect = CRectangle(1, 2, 3, 4);
    int32_t x = 0, y = 0;
    CRectangle r;
    EXPECT_TRUE(rig.frame->hostWindowPosition(x, y));
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 8);
    EXPECT_TRUE(rig.frame->hostWindowRect(r));
    EXPECT_EQ(r, CRectangle(1, 2, 3, 4));
    EXPECT_FALSE(rig.frame->moveHostWindow(1, 1));
    rig.platform->destroyBySystem();
    EXPECT_FALSE(rig.frame->isOpen());
    EXPECT_EQ(rig.frame->getParentWindow(), nullptr);
    EXPECT_FALSE(rig.frame->hostWindowPosition(x, y));
    EXPECT_FALSE(rig.frame->hostWindowRect(r));
}

TEST(CFrame, DropTargetRegistration) {
    FrameRig rig;
    EXPECT_TRUE(rig.frame->isDropActive()) << "registered with the window";
    EXPECT_EQ(rig.platform->dropRegistrations, 1);
    struct Row {
        bool flag;
        bool answer;
        bool active;
        int32_t registrations, revocations;
    } rows[] = {
        {true, true, true, 2, 1},   // re-registered: old target revoked first
        {false, true, false, 2, 2},
        {false, true, false, 2, 2},  // not registered and false: nothing to do
        {true, true, true, 3, 2},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(rig.frame->setDropActive(r.flag), r.answer);
        EXPECT_EQ(rig.frame->isDropActive(), r.active);
        EXPECT_EQ(rig.platform->dropRegistrations, r.registrations);
        EXPECT_EQ(rig.platform->dropRevocations, r.revocations);
    }

    auto* platform = new StandInFramePlatform();
    CFrame windowless(CRectangle(0, 0, 10, 10), nullptr, nullptr, platform);
    EXPECT_EQ(windowless.getWindow(), nullptr);
    EXPECT_FALSE(windowless.isDropActive());
    EXPECT_TRUE(windowless.setDropActive(false));
    EXPECT_FALSE(windowless.setDropActive(true));
    EXPECT_EQ(platform->dropRegistrations, 0);
}

// Reports the window layer's state at the two moments that matter: when
// the frame's children go, and when the frame lets go of its window layer.
struct WitnessPlatform : StandInFramePlatform {
    explicit WitnessPlatform(std::string& out) : report(out) {}
    ~WitnessPlatform() override { report += " | at the end: " + state(); }
    std::string state() const {
        return "drag service " + std::to_string(dragServiceDepth) + ", drop " +
               (dropRegistered ? "registered" : "revoked") + ", cursor restores " +
               std::to_string(cursorRestores) + ", windows destroyed " +
               std::to_string(windowsDestroyed) + ", back buffer releases " +
               std::to_string(backBufferReleases);
    }
    std::string& report;
};

struct Witness : CView {
    Witness(WitnessPlatform& p, int& count) : CView(CRectangle()), platform(p), destroyed(count) {}
    ~Witness() override {
        ++destroyed;
        if (destroyed == 1) platform.report += "children go: " + platform.state();
    }
    WitnessPlatform& platform;
    int& destroyed;
};

TEST(CFrame, DestructionUndoesConstructionInOrder) {
    std::string report;
    int destroyed = 0;
    auto* platform = new WitnessPlatform(report);
    EventLog log;
    char host = 0;
    auto* modal = new ProbeView("M", CRectangle(), log);
    {
        CFrame frame(CRectangle(0, 0, 50, 50), &host, nullptr, platform);
        EXPECT_EQ(platform->getBoundFrame(), &frame);
        EXPECT_EQ(platform->dragServiceDepth, 1);
        EXPECT_EQ(platform->windowsCreated, 1);
        EXPECT_EQ(frame.getParentWindow(), &host);
        EXPECT_NE(frame.getWindow(), nullptr);
        EXPECT_TRUE(frame.isAttached());
        EXPECT_EQ(frame.getFrame(), &frame);
        for (int i = 0; i < 3; ++i) frame.addChild(new Witness(*platform, destroyed));
        frame.setModalView(modal);
        frame.setCursor(kCursorHand);
        EXPECT_EQ(platform->cursor, kCursorHand);
    }
    EXPECT_EQ(destroyed, 3);
    EXPECT_EQ(report,
              "children go: drag service 1, drop revoked, cursor restores 1, windows destroyed 0, "
              "back buffer releases 0 | at the end: drag service 0, drop revoked, cursor restores 1, "
              "windows destroyed 1, back buffer releases 1");
    EXPECT_EQ(modal->referenceCount(), 1) << "the modal view's creator keeps its reference";
    modal->release();
}

TEST(CFrame, EditorInterfaceForwarding) {
    ProbeEditor editor;
    FrameRig rig(&editor);
    EXPECT_EQ(rig.frame->editor(), &editor);
    EXPECT_EQ(rig.frame->knobMode(), 2);
    rig.frame->beginEdit(3);
    rig.frame->endEdit(3);
    rig.frame->runEditorIdle();
    EXPECT_EQ(editor.edits, (std::vector<int32_t>{3, -4}));
    EXPECT_EQ(editor.idleRuns, 1);

    FrameRig bare;
    EXPECT_EQ(bare.frame->editor(), nullptr);
    EXPECT_EQ(bare.frame->knobMode(), 0);
    bare.frame->beginEdit(1);
    bare.frame->endEdit(1);
    bare.frame->runEditorIdle();
    bare.platform->clock = 1234;
    EXPECT_EQ(bare.frame->ticks(), 1234u);
    bare.platform->pointer = CPosition(3, 4);
    bare.platform->buttonState = kButtonLeft | kModifierAlt;
    CPosition where;
    EXPECT_TRUE(bare.frame->mouseLocation(where));
    EXPECT_EQ(where, CPosition(3, 4));
    EXPECT_EQ(bare.frame->mouseButtons(), kButtonLeft | kModifierAlt);
    EXPECT_EQ(bare.frame->clone(), nullptr);
}

TEST(CFrame, InvalidateAndMarkDirtyIn) {
    FrameRig rig;
    ProbeView* left = rig.probe("left", CRectangle(0, 0, 10, 10));
    ProbeView* right = rig.probe("right", CRectangle(20, 0, 30, 10));
    left->setDirty(false);
    right->setDirty(false);
    EXPECT_FALSE(rig.frame->markDirtyIn(CRectangle(10, 0, 15, 5)));  // touches left's edge
    EXPECT_TRUE(left->isDirty());
    EXPECT_FALSE(right->isDirty());

    rig.platform->invalidated.clear();
    rig.frame->setDirty(true);
    rig.frame->invalidate();
    EXPECT_FALSE(rig.frame->CView::isDirty());
    ASSERT_EQ(rig.platform->invalidated.size(), 1u);
    EXPECT_EQ(rig.platform->invalidated[0], CRectangle(0, 0, 200, 100));
    rig.frame->setVisible(false);
    rig.frame->invalidateRect(CRectangle(0, 0, 5, 5));
    EXPECT_EQ(rig.platform->invalidated.size(), 1u);
}

}  // namespace
}  // namespace toolkit
