#include "serial/AdExcept.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/rtl/Components.h"
#include "platform/win/WinSerial.h"

namespace {

TEST(AdExcept, MessageTexts) {
  const std::pair<Integer, const char*> table[] = {
      {0, "OK"},
      {-2011, "The ComNumber property of the TApdComPort has not been set"},
      {2011, "The ComNumber property of the TApdComPort has not been set"},
      {5, "File access denied"},  // the table's text, not the system's
      {-3006, "Output buffer too small for block"},
      {-1001, "Bad handle passed to com function"},
      {-13931, "Failed to find/load TAPI.DLL"},
      {15002, "Dispatch"},
      {15129, "Sent Term"},
      {15608, "DCD"},
      {15502, "--------  --------  ------------  --------  ---------"},
      // Not in the table: the system's text, line breaks become one blank.
      {87, "The parameter is incorrect. "},
      {-995, "The I/O operation has been aborted because of either a thread exit or an application request. "},
      // Neither: empty.
      {15100, ""},
      {424242, ""},
  };
  for (auto [code, text] : table) EXPECT_EQ(ErrorMessageText(code), text) << code;
}

// Runs RaiseForErrorCode and hands back what it raised.
template <typename E>
void ExpectRaise(Integer code, const std::function<void(const E&)>& check) {
  try {
    RaiseForErrorCode(nullptr, code);
    ADD_FAILURE() << code << " raised nothing";
  } catch (const E& e) {
    check(e);
  } catch (const Exception& e) {
    ADD_FAILURE() << code << " raised " << e.ClassName() << ": " << e.Message;
  }
}

TEST(AdExcept, CodesOfZeroAndAboveAndWhileLoadingPassThrough) {
  EXPECT_EQ(RaiseForErrorCode(nullptr, 0), 0);
  EXPECT_EQ(RaiseForErrorCode(nullptr, 5), 5);
  struct TLoadingComponent : TComponent {
    TLoadingComponent() : TComponent(nullptr) { SetState(csLoading, true); }
  } loading;
  EXPECT_EQ(RaiseForErrorCode(&loading, -2011), -2011);
}

TEST(AdExcept, FileErrorsRaiseInOutErrorWithThePositiveCode) {
  for (Integer code : {-2, -3, -5, -31, -87, -162}) {
    ExpectRaise<EInOutError>(code, [&](const EInOutError& e) {
      EXPECT_EQ(e.ErrorCode, -code);
      EXPECT_EQ(e.Message, ErrorMessageText(code));
    });
  }
  ExpectRaise<EInOutError>(-3, [](const EInOutError& e) { EXPECT_EQ(e.Message, "Path not found"); });
  ExpectRaise<EOutOfMemory>(-8, [](const EOutOfMemory& e) { EXPECT_EQ(e.Message, "Insufficient memory"); });
}

TEST(AdExcept, ListedCodesRaiseTheirClassWithTheirCode) {
  struct Case {
    Integer code;
    TClass leaf;
    TClass group;
  };
  const Case cases[] = {
      {-1002, EBadArgument::StaticClass(), EGeneral::StaticClass()},
      {-1006, EInternal::StaticClass(), EGeneral::StaticClass()},
      {-2001, EBadId::StaticClass(), EOpenComm::StaticClass()},
      {-2007, ECommNotOpen::StaticClass(), EOpenComm::StaticClass()},
      {-2008, EAlreadyOpen::StaticClass(), EOpenComm::StaticClass()},
      {-2011, ENoPortSelected::StaticClass(), EOpenComm::StaticClass()},
      {-3001, ENullApi::StaticClass(), ESerialIO::StaticClass()},
      {-3006, EOutputBufferTooSmall::StaticClass(), ESerialIO::StaticClass()},
      {-3007, EBufferIsEmpty::StaticClass(), ESerialIO::StaticClass()},
      {-4006, EModemNotResponding::StaticClass(), EModem::StaticClass()},
      {-5003, EBadTriggerHandle::StaticClass(), ETrigger::StaticClass()},
      {-6009, EProtocol::StaticClass(), EAPDException::StaticClass()},
      {-7003, EInternal::StaticClass(), EGeneral::StaticClass()},
      {-7010, EDatabaseFull::StaticClass(), EINI::StaticClass()},
      {-8068, EFaxNoCarrier::StaticClass(), EFax::StaticClass()},
      {-13931, ETapiLoadFail::StaticClass(), ETapi::StaticClass()},
      {-13980, ERasLoadFail::StaticClass(), ERas::StaticClass()},
  };
  for (const Case& c : cases) {
    ExpectRaise<EAPDException>(c.code, [&](const EAPDException& e) {
      EXPECT_EQ(e.ClassType(), c.leaf) << c.code;
      EXPECT_TRUE(e.InheritsFrom(c.group)) << c.code;
      EXPECT_EQ(e.ErrorCode, c.code);
      EXPECT_EQ(e.Message, ErrorMessageText(c.code));
    });
  }
}

TEST(AdExcept, UnlistedCodesRaisePortExceptionWithCodeZero) {
  for (Integer code : {-1, -1001, -3002, -6001, -99999}) {
    ExpectRaise<EAPDException>(code, [&](const EAPDException& e) {
      EXPECT_EQ(e.ClassType(), EAPDException::StaticClass()) << code;
      EXPECT_EQ(e.Message, "Port exception");
      EXPECT_EQ(e.ErrorCode, 0);
    });
  }
}

TEST(AdExcept, DeviceLayerCodesKeepTheirCodeAndSystemText) {
  const Integer permission = -static_cast<Integer>(win::ERROR_SERIAL_PERMISSION);
  for (Integer code : {-995, -997, permission}) {
    ExpectRaise<EAPDException>(code, [&](const EAPDException& e) {
      EXPECT_EQ(e.ErrorCode, code);
      EXPECT_NE(e.Message, "Port exception");
      EXPECT_EQ(e.Message, ErrorMessageText(code));
    });
  }
  EXPECT_NE(ErrorMessageText(permission).find("dialout"), std::string::npos);
  try {
    RaiseForErrorCode(nullptr, permission, "/dev/ttyUSB0");
    ADD_FAILURE();
  } catch (const EAPDException& e) {
    EXPECT_NE(e.Message.find("/dev/ttyUSB0"), std::string::npos);
    EXPECT_NE(e.Message.find("dialout"), std::string::npos);
  }
}

}  // namespace
