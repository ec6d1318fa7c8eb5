#include "app/AllClass.h"

VXN_IMPLEMENT_CLASS(TALL, TObject)
VXN_IMPLEMENT_CLASS(TChannel, TObject)
VXN_IMPLEMENT_CLASS(TLanguage, TObject)

TALL* ALL = nullptr;
TChannel* ChannelScratch = nullptr;
TLanguage* LangTexts = nullptr;

void TChannel::Clear() {
  RxMHz = -1.0;
  TxMHz = -1.0;
  RxTone.clear();
  TxTone.clear();
  BusyLock = false;
  Narrow = false;
  PowerLevel = 0;
  Compander = false;
  Scrambler = false;
  ScanAdd = false;
  PttId = false;
  Epilogue = 0;
}

TLanguage::TLanguage() { SetDefaults(); }

const std::array<TLanguage::TText, 22>& TLanguage::Texts() {
  static const std::array<TText, 22> texts{{
      {"Confirmation", "Confirmation", &TLanguage::Confirmation},
      {"ExitProgram", "Do you wish to exit program?", &TLanguage::ExitProgram},
      {"OutRange", "Frequecy is Out of range.", &TLanguage::OutRange},
      {"ErrRange", "The frequecy number come amiss!", &TLanguage::ErrRange},
      {"Channel", "Channel", &TLanguage::Channel},
      {"Info", " Information", &TLanguage::Info},
      {"Caution", "Caution", &TLanguage::Caution},
      {"SaveProgram", "Do you wish to save the changes?", &TLanguage::SaveProgram},
      {"FChBigT", "Start Channel must less than End Channel!", &TLanguage::FChBigT},
      {"All", "All", &TLanguage::All},
      {"Close", "Closed", &TLanguage::Close},
      {"Open", "Opened", &TLanguage::Open},
      {"ComError", "Please check all connections and communication port settings.",
       &TLanguage::ComError},
      {"ModError", "Model Type Wrong.", &TLanguage::ModError},
      {"PwdError", "Pass Word Wrong.", &TLanguage::PwdError},
      {"ModelType", "Model Type", &TLanguage::ModelType},
      {"Frequency", "Frequency", &TLanguage::Frequency},
      {"ReadOk", "Reading Completed.", &TLanguage::ReadOk},
      {"WriteOk", "Writing Completed.", &TLanguage::WriteOk},
      {"PortError", "Cannot Open Communication Port.", &TLanguage::PortError},
      {"ClearData", "Do you wish to Clear Data?", &TLanguage::ClearData},
      {"Modforce", "Do you wish to Force write data?", &TLanguage::Modforce},
  }};
  return texts;
}

void TLanguage::SetDefaults() {
  for (const TText& t : Texts()) this->*t.Field = t.Default;
}
