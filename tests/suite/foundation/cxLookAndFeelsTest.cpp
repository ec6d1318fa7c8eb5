#include "suite/foundation/cxLookAndFeels.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/win/SysColors.h"
#include "suite/foundation/dxOffice11.h"
#include "tests/suite/foundation/FakeThemeLibrary.h"

using namespace fake_theme;

namespace {

struct Log {
  std::vector<std::string> lines;
};

// The owner's side of a look-and-feel: records its change notices.
struct Watched {
  Watched(Log* log, std::string name, TcxLookAndFeel* master = nullptr) : log_(log), name_(std::move(name)) {
    laf = std::make_unique<TcxLookAndFeel>(nullptr);
    laf->OnChanged = TcxLookAndFeelChangedEvent(this, &Watched::Changed);
    if (master) laf->SetMasterLookAndFeel(master);
  }
  void Changed(TcxLookAndFeel*, TcxLookAndFeelValues values) {
    log_->lines.push_back(name_ + ":" + std::to_string(values.Bits()));
  }
  Log* log_;
  std::string name_;
  std::unique_ptr<TcxLookAndFeel> laf;
};

// A listener that leaves (and takes another with it) when told.
struct Leaver : IcxLookAndFeelListener {
  TcxLookAndFeel* master = nullptr;
  IcxLookAndFeelListener* alsoRemove = nullptr;
  int told = 0;
  TObject* GetListenerObject() override { return nullptr; }
  void MasterChanged(TcxLookAndFeel*, TcxLookAndFeelValues) override {
    ++told;
    master->RemoveChangeListener(this);
    if (alsoRemove) master->RemoveChangeListener(alsoRemove);
  }
  void MasterDestroying(TcxLookAndFeel*) override {}
};

struct Counter : IcxLookAndFeelListener {
  int told = 0;
  TObject* GetListenerObject() override { return nullptr; }
  void MasterChanged(TcxLookAndFeel*, TcxLookAndFeelValues) override { ++told; }
  void MasterDestroying(TcxLookAndFeel*) override {}
};

class LookAndFeel : public FakeThemeTest {};

}  // namespace

TEST_F(LookAndFeel, DefaultsComeFromTheRoot) {
  ASSERT_NE(TopLevelLookAndFeel(), nullptr);
  EXPECT_TRUE(TopLevelLookAndFeel()->IsRootLookAndFeel());
  TcxLookAndFeel laf(nullptr);
  EXPECT_EQ(laf.Kind(), lfUltraFlat);
  EXPECT_FALSE(laf.NativeStyle());
  EXPECT_TRUE(laf.AssignedValues().Empty());
  EXPECT_EQ(laf.MasterLookAndFeel(), TopLevelLookAndFeel());
  EXPECT_EQ(TopLevelLookAndFeel()->MasterLookAndFeel(), nullptr);
}

TEST_F(LookAndFeel, PainterChoice) {
  TcxLookAndFeel laf(nullptr);
  const std::pair<TcxLookAndFeelKind, TcxCustomLookAndFeelPainterClass> kinds[] = {
      {lfFlat, TcxFlatLookAndFeelPainter::Instance()},
      {lfStandard, TcxStandardLookAndFeelPainter::Instance()},
      {lfUltraFlat, TcxUltraFlatLookAndFeelPainter::Instance()},
      {lfOffice11, TcxOffice11LookAndFeelPainter::Instance()}};
  for (const auto& [kind, painter] : kinds) {
    laf.SetKind(kind);
    EXPECT_EQ(laf.Painter(), painter) << kind;
  }
  laf.SetNativeStyle(true);
  EXPECT_EQ(laf.Painter(), TcxWinXPLookAndFeelPainter::Instance());
  lib().refused = {u"SCROLLBAR"};
  EXPECT_EQ(laf.PainterForThemeClass(ThemeClassScrollBar), TcxOffice11LookAndFeelPainter::Instance());
  EXPECT_EQ(laf.PainterForThemeClasses(ThemeClassMask(ThemeClassButton) | ThemeClassMask(ThemeClassScrollBar)),
            TcxOffice11LookAndFeelPainter::Instance());
  EXPECT_EQ(laf.PainterForThemeClass(ThemeClassButton), TcxWinXPLookAndFeelPainter::Instance());
  lib().active = false;
  win::SendMessage(ThemeChangedReceiverWindow(), win::WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(laf.Painter(), TcxOffice11LookAndFeelPainter::Instance()) << "styles off: the painter of the Kind";
}

TEST_F(LookAndFeel, AssignedValuesAndNotices) {
  Log log;
  Watched child(&log, "child");
  child.laf->SetKind(lfUltraFlat);  // the inherited value: assigned, no notice
  EXPECT_TRUE(child.laf->AssignedValues().Contains(lfvKind));
  EXPECT_TRUE(log.lines.empty());
  child.laf->SetKind(lfFlat);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"child:1"}));
  // A master's change of an assigned value is dropped.
  Watched master(&log, "master");
  child.laf->SetMasterLookAndFeel(master.laf.get());
  log.lines.clear();
  master.laf->SetKind(lfStandard);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"master:1"}));
  master.laf->SetNativeStyle(true);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"master:1", "child:2", "master:2"}));
  EXPECT_TRUE(child.laf->NativeStyle());
  EXPECT_EQ(child.laf->Kind(), lfFlat);
  // Clearing the assignment falls back to the master.
  log.lines.clear();
  child.laf->ClearAssignedValues();
  EXPECT_EQ(child.laf->Kind(), lfStandard);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"child:1"}));
}

TEST_F(LookAndFeel, DestroyingAMasterMovesItsChildrenToTheRoot) {
  Log log;
  auto master = std::make_unique<Watched>(&log, "master");
  Watched same(&log, "same", master->laf.get()), differs(&log, "differs", master->laf.get());
  master->laf->SetNativeStyle(false);  // the root's value: no change for "same"
  master->laf->SetKind(lfOffice11);
  log.lines.clear();
  master.reset();
  EXPECT_EQ(log.lines, (std::vector<std::string>{"same:1", "differs:1"}));
  EXPECT_EQ(same.laf->MasterLookAndFeel(), TopLevelLookAndFeel());
  EXPECT_EQ(differs.laf->Kind(), lfUltraFlat);
  log.lines.clear();
  Watched unchanged(&log, "unchanged");
  auto m2 = std::make_unique<Watched>(&log, "m2");
  unchanged.laf->SetMasterLookAndFeel(m2->laf.get());
  m2.reset();
  EXPECT_TRUE(log.lines.empty()) << "no notice when nothing changes";
}

TEST_F(LookAndFeel, AssignCopiesValuesAndMaster) {
  Log log;
  Watched master(&log, "master"), source(&log, "source", master.laf.get()), target(&log, "target");
  source.laf->SetKind(lfStandard);
  master.laf->SetNativeStyle(true);
  log.lines.clear();
  target.laf->Assign(source.laf.get());
  EXPECT_EQ(target.laf->Kind(), lfStandard);
  EXPECT_TRUE(target.laf->NativeStyle());
  EXPECT_EQ(target.laf->MasterLookAndFeel(), master.laf.get());
  ASSERT_FALSE(log.lines.empty());
  EXPECT_EQ(log.lines.front(), "target:3");
  TcxLookAndFeel* none = nullptr;
  EXPECT_THROW(target.laf->Assign(none), Exception);
}

TEST_F(LookAndFeel, ControllersDriveTheRoot) {
  Log log;
  Watched child(&log, "child");
  TcxLookAndFeel* root = TopLevelLookAndFeel();
  auto first = std::make_unique<TcxLookAndFeelController>(nullptr);
  auto second = std::make_unique<TcxLookAndFeelController>(nullptr);
  first->SetKind(lfOffice11);
  EXPECT_EQ(second->Kind(), lfOffice11);
  EXPECT_EQ(child.laf->Kind(), lfOffice11);
  EXPECT_TRUE(root->AssignedValues().Contains(lfvKind));
  // A controller attaches to the root only.
  TcxLookAndFeel other(nullptr);
  other.AddChangeListener(first.get());
  EXPECT_EQ(other.ChangeListenerCount(), 0);
  first.reset();
  EXPECT_EQ(root->Kind(), lfOffice11);
  log.lines.clear();
  second.reset();
  EXPECT_EQ(root->Kind(), lfUltraFlat);
  EXPECT_TRUE(root->AssignedValues().Empty());
  EXPECT_EQ(log.lines, (std::vector<std::string>{"child:1"}));
}

TEST_F(LookAndFeel, AListenerLeavingDuringTheWalkSkipsNobodyAndRepeatsNobody) {
  TcxLookAndFeel master(nullptr);
  Counter before, after, gone;
  Leaver leaver;
  leaver.master = &master;
  leaver.alsoRemove = &gone;
  master.AddChangeListener(&before);
  master.AddChangeListener(&leaver);
  master.AddChangeListener(&after);
  master.AddChangeListener(&gone);
  master.SetKind(lfFlat);
  EXPECT_EQ(before.told, 1);
  EXPECT_EQ(leaver.told, 1);
  EXPECT_EQ(after.told, 1);
  EXPECT_EQ(gone.told, 0) << "removed before its turn";
  EXPECT_EQ(master.ChangeListenerCount(), 2);
  master.RemoveChangeListener(&before);
  master.RemoveChangeListener(&after);
}

TEST_F(LookAndFeel, SystemColourChangeReachesPrimaryNotifiersFirst) {
  std::vector<std::string> order;
  struct Named {
    std::vector<std::string>* order;
    std::string name;
    void Told(TObject*) { order->push_back(name); }
  };
  Named p1{&order, "p1"}, p2{&order, "p2"}, o1{&order, "o1"}, o2{&order, "o2"};
  TcxSystemPaletteChangedNotifier n1(true), m1(false), n2(true), m2(false);
  n1.OnSystemPaletteChanged = TNotifyEvent(&p1, &Named::Told);
  n2.OnSystemPaletteChanged = TNotifyEvent(&p2, &Named::Told);
  m1.OnSystemPaletteChanged = TNotifyEvent(&o1, &Named::Told);
  m2.OnSystemPaletteChanged = TNotifyEvent(&o2, &Named::Told);
  Log log;
  Watched laf(&log, "laf");
  const win::INT face = win::COLOR_BTNFACE;
  const win::COLORREF sand = win::RGB(220, 200, 150);
  win::SetSysColors(1, &face, &sand);  // the window layer sends WM_SYSCOLORCHANGE
  EXPECT_EQ(Office11FaceColor, static_cast<TColor>(sand)) << "the palette is recomputed before anyone is told";
  win::ResetSysColors();
  ASSERT_GE(order.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(order.begin(), order.begin() + 4),
            (std::vector<std::string>{"p2", "p1", "o2", "o1"}));
  // The look-and-feel's own notifier and its master's notice both reach it.
  EXPECT_FALSE(log.lines.empty());
  EXPECT_EQ(log.lines.front(), "laf:2");
}
