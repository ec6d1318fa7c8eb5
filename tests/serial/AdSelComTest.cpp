#include "serial/AdSelCom.h"

#include <pty.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "serial/AwWin32.h"
#include "platform/forms/Forms.h"
#include "platform/win/WinSerial.h"
#include "tests/support/TempFolder.h"

namespace {

// Two pseudo-terminals published as COM3 and COM12, with the machine's own
// serial devices hidden behind an empty device folder.
class PortList : public ::testing::Test {
 protected:
  void SetUp() override {
    win::SetSerialDeviceFolders(empty_.Path(), empty_.Path());
    for (int i = 0; i < 2; ++i) {
      char name[128] = {};
      ASSERT_EQ(openpty(&master_[i], &slave_[i], name, nullptr, nullptr), 0);
      setenv(i == 0 ? "VXN_COM3" : "VXN_COM12", name, 1);
    }
  }
  void TearDown() override {
    unsetenv("VXN_COM3");
    unsetenv("VXN_COM12");
    for (int i = 0; i < 2; ++i) {
      close(master_[i]);
      close(slave_[i]);
    }
    win::SetSerialDeviceFolders("", "");
  }
  TempFolder empty_{"nodev"};
  int master_[2] = {-1, -1};
  int slave_[2] = {-1, -1};
};

TEST_F(PortList, ListsThePublishedPortsInOrderAndAHeldOneToo) {
  EXPECT_EQ(ListPresentPorts(), (std::vector<std::string>{"COM3", "COM12"}));
  EXPECT_FALSE(PortExists(0));
  EXPECT_FALSE(PortExists(4));

  auto* holder = new TApdWin32Dispatcher(nullptr);
  ASSERT_EQ(holder->OpenHandle("COM12", 64, 64), 0);
  EXPECT_TRUE(PortExists(12));
  holder->CloseDevice();
  holder->Free();
}

TEST(PortEntry, NumberFromTheFourthCharacterOn) {
  EXPECT_EQ(PortNumberOfEntry("COM3"), 3);
  EXPECT_EQ(PortNumberOfEntry("COM12"), 12);
  EXPECT_EQ(PortNumberOfEntry("COM"), 0);
}

struct FormDeleter {
  void operator()(TForm* Form) const { Form->Free(); }
};
using DialogPtr = std::unique_ptr<TComSelectForm, FormDeleter>;

DialogPtr MakeDialog() {
  return DialogPtr(static_cast<TComSelectForm*>(CreateForm(TComSelectForm::StaticClass(), Application)));
}

bool Inside(const TRect& Outer, const TRect& Inner) {
  return Inner.Left >= Outer.Left && Inner.Top >= Outer.Top && Inner.Right <= Outer.Right &&
         Inner.Bottom <= Outer.Bottom;
}

TEST_F(PortList, DialogComesFromItsFormFileAndListsThePortsEvenAHeldOne) {
  auto* holder = new TApdWin32Dispatcher(nullptr);
  ASSERT_EQ(holder->OpenHandle("COM12", 64, 64), 0);
  DialogPtr dialog = MakeDialog();
  holder->CloseDevice();
  holder->Free();

  EXPECT_EQ(dialog->Owner(), Application);
  EXPECT_EQ(dialog->Caption(), "Select Port");
  EXPECT_EQ(dialog->BorderStyle(), bsDialog);
  EXPECT_EQ(dialog->BorderIcons(), TBorderIcons{biSystemMenu});
  EXPECT_EQ(dialog->Position(), poScreenCenter);
  EXPECT_EQ(dialog->ClientWidth(), 220);
  EXPECT_EQ(dialog->ClientHeight(), 131);
  EXPECT_EQ(dialog->Font()->GetName(), "MS Sans Serif");
  EXPECT_EQ(dialog->Font()->GetSize(), 8);
  EXPECT_EQ(dialog->Font()->GetColor(), clBlack);
  EXPECT_EQ(dialog->Label1->Caption(), "The configured serial port is not valid.");
  EXPECT_EQ(dialog->Label2->Caption(), "Please choose another port.");
  EXPECT_EQ(dialog->PortsComboBox->Style(), csDropDownList);
  EXPECT_EQ(dialog->OkBtn->Caption(), "OK");
  EXPECT_TRUE(dialog->OkBtn->Default());
  EXPECT_EQ(dialog->OkBtn->ModalResult(), mrOk);
  EXPECT_EQ(dialog->AbortBtn->Caption(), "Cancel");
  EXPECT_EQ(dialog->AbortBtn->ModalResult(), mrAbort);
  // The bevel frames both labels (sized to their text in the dialog's font),
  // and nothing sticks out of the client area.
  const TRect client{0, 0, 220, 131};
  for (TControl* c : std::initializer_list<TControl*>{dialog->Label1, dialog->Label2})
    EXPECT_TRUE(Inside(dialog->Bevel1->BoundsRect(), c->BoundsRect())) << c->Name() << " " << c->Width();
  for (TControl* c : std::initializer_list<TControl*>{dialog->Bevel1, dialog->PortsComboBox, dialog->OkBtn,
                                                      dialog->AbortBtn})
    EXPECT_TRUE(Inside(client, c->BoundsRect())) << c->Name();

  std::vector<std::string> listed;
  for (Integer i = 0; i < dialog->PortsComboBox->Items()->Count(); ++i)
    listed.push_back(dialog->PortsComboBox->Items()->Strings(i));
  EXPECT_EQ(listed, (std::vector<std::string>{"COM3", "COM12"}));
  EXPECT_EQ(dialog->PortsComboBox->ItemIndex(), 0);
  EXPECT_TRUE(dialog->OkBtn->Enabled());
  EXPECT_EQ(dialog->SelectedPortNumber(), 3);
  dialog->PortsComboBox->SetItemIndex(1);
  EXPECT_EQ(dialog->SelectedPortNumber(), 12);
}

TEST(PortDialog, WithNoPortOnlyCancelIsLeft) {
  TempFolder empty("noport");
  win::SetSerialDeviceFolders(empty.Path(), empty.Path());
  DialogPtr dialog = MakeDialog();
  win::SetSerialDeviceFolders("", "");

  EXPECT_EQ(dialog->PortsComboBox->Items()->Count(), 0);
  EXPECT_EQ(dialog->PortsComboBox->ItemIndex(), -1);
  EXPECT_EQ(dialog->SelectedPortNumber(), 0);
  EXPECT_FALSE(dialog->OkBtn->Enabled());
  EXPECT_TRUE(dialog->AbortBtn->Enabled());
  // Enter does not reach the disabled default button either.
  dialog->Show();
  dialog->Perform(CM_DIALOGKEY, win::VK_RETURN, 0);
  EXPECT_EQ(dialog->ModalResult(), mrNone);
}

}  // namespace
