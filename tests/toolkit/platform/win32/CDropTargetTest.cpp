// The frame's drop target under wine: a scripted drag across two views of a
// real frame (positions from the real pointer), the effect answered to the
// source, the payload's lifetime, and the registration of the window.
#include "toolkit/platform/win32/CDropTarget.h"

#include <gtest/gtest.h>

#include "DataObjectStub.h"
#include "WindowTestSupport.h"
#include "toolkit/platform/win32/DropEffect.h"

namespace toolkit {
namespace testing {
namespace {

// The fixture's probe (20, 10)-(60, 50) plus a second view to its right and
// a drop target for the frame, held by the test.
class CDropTargetTest : public FrameFixture {
protected:
    void SetUp() override {
        FrameFixture::SetUp();
        other = new ProbeView(CRectangle(100, 10, 140, 50), kColorBlue);
        frame->addChild(other);
        target = new CDropTarget(frame);
        target->AddRef();
    }
    void TearDown() override {
        target->Release();
        FrameFixture::TearDown();
    }
    void pointerAt(int x, int y) {
        const POINT p = toScreen(x, y);
        SetCursorPos(p.x, p.y);
    }

    ProbeView* other = nullptr;
    CDropTarget* target = nullptr;
    POINTL ignored = {-1000, -1000};  // the platform's point is not used
};

TEST_F(CDropTargetTest, DragAcrossTwoViewsAndDropTwoFiles) {
    DataObjectStub data;
    data.offerFiles = true;
    data.files = {L"C:\\one.wav", L"C:\\two.wav"};

    pointerAt(30, 20);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(target->DragEnter(&data, MK_LBUTTON, ignored, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(probe->kinds(), std::vector<std::string>{"dragEnter"});
    EXPECT_EQ(probe->events.back().where.x, 30);
    EXPECT_EQ(probe->events.back().where.y, 20);
    CDragContainer* payload = CDropTarget::currentDrag();
    ASSERT_NE(payload, nullptr);
    EXPECT_EQ(probe->lastDrag, payload);

    pointerAt(32, 22);
    effect = DROPEFFECT_MOVE;
    EXPECT_EQ(target->DragOver(MK_LBUTTON, ignored, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));  // a source allowing only move
    EXPECT_EQ(probe->kinds().back(), "dragMove");

    // Over the second view: the first is left, the second entered.
    pointerAt(110, 30);
    effect = DROPEFFECT_COPY;
    target->DragOver(MK_LBUTTON, ignored, &effect);
    EXPECT_EQ(probe->kinds().back(), "dragLeave");
    EXPECT_EQ(other->kinds(), std::vector<std::string>{"dragEnter"});
    EXPECT_EQ(other->lastDrag, payload);  // the same payload throughout

    // The drop reads the items; a view answering false still gets dragLeave.
    effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    EXPECT_EQ(target->Drop(&data, 0, ignored, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY | DROPEFFECT_LINK));  // left as it was
    EXPECT_EQ(other->kinds(), (std::vector<std::string>{"dragEnter", "drop", "dragLeave"}));
    EXPECT_EQ(other->dropCount, 2);
    EXPECT_EQ(other->dropItemType, kDragFile);
    ASSERT_EQ(other->dropped.size(), 2u);
    EXPECT_EQ(other->dropped[0].bytes, "C:\\one.wav");
    EXPECT_EQ(other->dropped[0].type, kDragFile);
    EXPECT_EQ(other->dropped[1].bytes, "C:\\two.wav");
    EXPECT_EQ(other->endType, kDragUnknown);

    EXPECT_EQ(CDropTarget::currentDrag(), nullptr);
    EXPECT_EQ(data.references(), 1u);
    EXPECT_EQ(data.outstandingMedia, 0);
}

TEST_F(CDropTargetTest, DropOfTextReachesTheViewAsUtf8) {
    DataObjectStub data;
    data.offerText = true;
    data.text = L"Tovra \u00e4\u00f6\u00fc";
    pointerAt(40, 40);
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(&data, MK_LBUTTON, ignored, &effect);
    target->Drop(&data, 0, ignored, &effect);
    EXPECT_EQ(probe->kinds(), (std::vector<std::string>{"dragEnter", "drop", "dragLeave"}));
    EXPECT_EQ(probe->dropCount, 1);
    EXPECT_EQ(probe->dropItemType, kDragText);
    ASSERT_EQ(probe->dropped.size(), 1u);
    EXPECT_EQ(probe->dropped[0].bytes, "Tovra \xc3\xa4\xc3\xb6\xc3\xbc");
    EXPECT_EQ(probe->dropped[0].size, 12);
    EXPECT_EQ(probe->dropped[0].type, kDragUtf8Text);
    EXPECT_EQ(data.references(), 1u);
}

TEST_F(CDropTargetTest, EffectFollowsWhatTheSourceAllows) {
    struct Case {
        DWORD allowed;
        DWORD answered;
    };
    const Case cases[] = {
        {DROPEFFECT_COPY, DROPEFFECT_COPY},
        {DROPEFFECT_MOVE, DROPEFFECT_MOVE},
        {DROPEFFECT_LINK, DROPEFFECT_LINK},
        {DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_COPY},
        {DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_MOVE},
        {DROPEFFECT_NONE, DROPEFFECT_NONE},
        {DROPEFFECT_SCROLL, DROPEFFECT_SCROLL},  // nothing usable: left alone
    };
    DataObjectStub data;
    data.offerText = true;
    data.text = L"x";
    pointerAt(30, 20);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.allowed);
        EXPECT_EQ(win32::chooseDropEffect(c.allowed), c.answered);
        DWORD effect = c.allowed;
        target->DragEnter(&data, 0, ignored, &effect);
        EXPECT_EQ(effect, c.answered);
        effect = c.allowed;
        target->DragOver(0, ignored, &effect);
        EXPECT_EQ(effect, c.answered);
        target->DragLeave();
    }
    EXPECT_EQ(CDropTarget::currentDrag(), nullptr);
    EXPECT_EQ(data.references(), 1u);
}

TEST_F(CDropTargetTest, MissingDataOrPayloadRoutesNothing) {
    DWORD effect = DROPEFFECT_COPY;
    pointerAt(30, 20);
    EXPECT_EQ(target->DragEnter(nullptr, 0, ignored, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->DragOver(0, ignored, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));  // untouched
    EXPECT_EQ(target->DragLeave(), S_OK);
    EXPECT_EQ(target->Drop(nullptr, 0, ignored, &effect), S_OK);
    EXPECT_TRUE(probe->events.empty());

    // A second DragEnter without DragLeave replaces the first payload.
    DataObjectStub first;
    DataObjectStub second;
    first.offerText = second.offerText = true;
    target->DragEnter(&first, 0, ignored, &effect);
    target->DragEnter(&second, 0, ignored, &effect);
    EXPECT_EQ(first.references(), 1u);
    EXPECT_GT(second.references(), 1u);
    target->DragLeave();
    EXPECT_EQ(second.references(), 1u);
}

TEST_F(CDropTargetTest, InterfacesAndReferences) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(target->QueryInterface(IID_IDropTarget, &object), S_OK);
    EXPECT_EQ(object, static_cast<IDropTarget*>(target));
    static_cast<IUnknown*>(object)->Release();
    EXPECT_EQ(target->QueryInterface(IID_IUnknown, &object), S_OK);
    static_cast<IUnknown*>(object)->Release();
    EXPECT_EQ(target->QueryInterface(IID_IDataObject, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(target->AddRef(), 2u);
    EXPECT_EQ(target->Release(), 1u);
}

TEST_F(CDropTargetTest, FrameRegistersAndRevokesItsWindow) {
    HWND w = window();
    EXPECT_TRUE(frame->isDropActive());
    EXPECT_EQ(RegisterDragDrop(w, target), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_TRUE(frame->setDropActive(false));
    EXPECT_FALSE(frame->isDropActive());
    ASSERT_EQ(RegisterDragDrop(w, target), S_OK);  // free again
    EXPECT_EQ(RevokeDragDrop(w), S_OK);
    EXPECT_TRUE(frame->setDropActive(true));
    EXPECT_EQ(RegisterDragDrop(w, target), DRAGDROP_E_ALREADYREGISTERED);
}

}  // namespace
}  // namespace testing
}  // namespace toolkit
