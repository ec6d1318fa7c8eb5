#include "script/fs_ievents.h"

#include <gtest/gtest.h>

#include "platform/rtl/ObjectHandles.h"
#include "platform/rtl/TypInfo.h"
#include "tests/script/ScriptRun.h"

using scriptrun::Runner;

// A host object with one event of each bridged kind.
class TEventHost : public TComponent {
  VXN_DECLARE_CLASS(TEventHost)

 public:
  explicit TEventHost(TComponent* AOwner) : TComponent(AOwner) {}
  TNotifyEvent OnClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TCanResizeEvent OnCanResize;
};
VXN_IMPLEMENT_CREATABLE_CLASS(TEventHost, TComponent)
VXN_PUBLISH(TEventHost) {
  P.Event("OnClick", &TEventHost::OnClick);
  P.Event("OnMouseDown", &TEventHost::OnMouseDown);
  P.Event("OnMouseMove", &TEventHost::OnMouseMove);
  P.Event("OnKeyDown", &TEventHost::OnKeyDown);
  P.Event("OnKeyPress", &TEventHost::OnKeyPress);
  P.Event("OnClose", &TEventHost::OnClose);
  P.Event("OnCloseQuery", &TEventHost::OnCloseQuery);
  P.Event("OnCanResize", &TEventHost::OnCanResize);
}

namespace {

class EventBridgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TfsScript& s = *runner.Script;
    s.DeclaredBy = fsDeclaredByModules;
    TfsClassVariable* cls = s.DeclareClass(TEventHost::StaticClass(), "TComponent");
    cls->DeclareEvent("OnClick", fsEventFactory<TfsNotifyEvent>);
    cls->DeclareEvent("OnMouseDown", fsEventFactory<TfsMouseEvent>);
    cls->DeclareEvent("OnMouseMove", fsEventFactory<TfsMouseMoveEvent>);
    cls->DeclareEvent("OnKeyDown", fsEventFactory<TfsKeyEvent>);
    cls->DeclareEvent("OnKeyPress", fsEventFactory<TfsKeyPressEvent>);
    cls->DeclareEvent("OnClose", fsEventFactory<TfsCloseEvent>);
    cls->DeclareEvent("OnCloseQuery", fsEventFactory<TfsCloseQueryEvent>);
    cls->DeclareEvent("OnCanResize", fsEventFactory<TfsCanResizeEvent>);
    s.DeclareObject("Host", &host);
    s.DeclaredBy = fsDeclaredByScript;
  }

  Runner runner;
  TEventHost host{nullptr};
};

TEST_F(EventBridgeTest, EachBridgePassesArgumentsAndCopiesVarParametersBack) {
  const char* source = R"(
procedure Click(Sender: TObject); begin if Sender = Host then Log('click host') end;
procedure Down(Sender: TObject; Button, Shift, X, Y: Integer);
begin Log('down ' + IntToStr(Button) + ' ' + IntToStr(Shift) + ' ' + IntToStr(X) + ',' + IntToStr(Y)) end;
procedure Move(Sender: TObject; Shift, X, Y: Integer); begin Log('move ' + IntToStr(Shift)) end;
procedure KeyDown(Sender: TObject; var Key: Integer; Shift: Integer); begin Key := Key + 1 end;
procedure KeyPress(Sender: TObject; var Key: Char); begin if Key = 'a' then Key := 'b' end;
procedure Close(Sender: TObject; var Action: Integer); begin Action := 2 end;
procedure CloseQuery(Sender: TObject; var CanClose: Boolean); begin CanClose := False end;
procedure CanResize(Sender: TObject; var W, H: Integer; var Resize: Boolean);
begin W := W * 2; Resize := False end;
begin
  Host.OnClick := @Click;
  Host.OnMouseDown := @Down;
  Host.OnMouseMove := @Move;
  Host.OnKeyDown := @KeyDown;
  Host.OnKeyPress := @KeyPress;
  Host.OnClose := @Close;
  Host.OnCloseQuery := @CloseQuery;
  Host.OnCanResize := @CanResize;
end.)";
  ASSERT_EQ(runner.Run("PascalScript", source), "");
  host.OnClick(&host);
  host.OnMouseDown(&host, mbRight, TShiftState{ssShift, ssCtrl}, 3, 4);
  host.OnMouseMove(&host, TShiftState{ssAlt}, 0, 0);
  EXPECT_EQ(runner.Output, "click host down 1 5 3,4 move 2");

  Word key = 65;
  host.OnKeyDown(&host, key, TShiftState{});
  EXPECT_EQ(key, 66);
  char32_t ch = U'a';
  host.OnKeyPress(&host, ch);
  EXPECT_EQ(ch, U'b');
  ch = U'中';
  host.OnKeyPress(&host, ch);  // untouched: the value it received comes back
  EXPECT_EQ(ch, U'中');
  TCloseAction action = caHide;
  host.OnClose(&host, action);
  EXPECT_EQ(action, caFree);
  bool canClose = true;
  host.OnCloseQuery(&host, canClose);
  EXPECT_FALSE(canClose);
  Integer w = 10, h = 20;
  bool resize = true;
  host.OnCanResize(&host, w, h, resize);
  EXPECT_EQ(w, 20);
  EXPECT_EQ(h, 20);
  EXPECT_FALSE(resize);
}

TEST_F(EventBridgeTest, ReentryIsDroppedAndNilUnassigns) {
  // The handler raises the event again: the inner run is dropped, but the
  // var arguments are still copied back from the handler's parameters.
  const char* source = R"(
procedure Resize(Sender: TObject; var W, H: Integer; var Resize: Boolean);
var a, b: Integer; r: Boolean;
begin
  W := W + 1;
  a := 0; b := 0; r := True;
  Log('run');
end;
begin Host.OnCanResize := @Resize end.)";
  ASSERT_EQ(runner.Run("PascalScript", source), "");
  Integer w = 1, h = 1;
  bool resize = true;
  host.OnCanResize(&host, w, h, resize);
  EXPECT_EQ(w, 2);
  EXPECT_EQ(runner.Output, "run");

  ASSERT_EQ(runner.Run("PascalScript", "begin Host.OnClick := nil end."), "");
  EXPECT_FALSE(host.OnClick.Assigned());
  EXPECT_EQ(runner.Run("PascalScript", "begin Host.OnClick := 'Missing' end."),
            "raised: Event handler must be a procedure");
}

}  // namespace
