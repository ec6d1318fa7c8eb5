#include "platform/rtl/SqlTimSt.h"

#include <gtest/gtest.h>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

namespace {

TEST(SqlTimStTest, DateTimeRoundTripToTheMillisecond) {
  TDateTime value = EncodeDate(2024, 3, 5) + EncodeTime(9, 7, 2, 345);
  TSQLTimeStamp stamp = DateTimeToSQLTimeStamp(value);
  EXPECT_EQ(stamp, (TSQLTimeStamp{2024, 3, 5, 9, 7, 2, 345}));
  EXPECT_NEAR(SQLTimeStampToDateTime(stamp), value, 1e-9);
  EXPECT_EQ(SQLTimeStampToDateTime(TSQLTimeStamp{}), 0.0);  // the cleared stamp
  // Beyond the years 100..9999 there is no stamp (not the cleared one).
  EXPECT_THROW(DateTimeToSQLTimeStamp(1e10), EConvertError);
  EXPECT_THROW(DateTimeToSQLTimeStamp(EncodeDate(100, 1, 1) - 1), EConvertError);
  EXPECT_EQ(DateTimeToSQLTimeStamp(EncodeDate(100, 1, 1)), (TSQLTimeStamp{100, 1, 1, 0, 0, 0, 0}));
}

TEST(SqlTimStTest, InvalidStampsAreRefused) {
  const TSQLTimeStamp bad[] = {
      {2024, 13, 1, 0, 0, 0, 0}, {2023, 2, 29, 0, 0, 0, 0}, {2024, 1, 1, 24, 0, 0, 0},
      {2024, 1, 1, 0, 60, 0, 0}, {2024, 1, 1, 0, 0, 0, 1000}, {-5, 1, 1, 0, 0, 0, 0},
  };
  for (const TSQLTimeStamp& s : bad) {
    TDateTime value;
    EXPECT_FALSE(TrySQLTimeStampToDateTime(s, value)) << s.Year << "-" << s.Month << "-" << s.Day;
    EXPECT_THROW(SQLTimeStampToDateTime(s), EConvertError);
  }
  // A Variant of an invalid stamp cannot become a number or text.
  Variant v = VarSQLTimeStampCreate(bad[0]);
  EXPECT_THROW(v.AsDouble(), EVariantTypeCastError);
  EXPECT_THROW(VarToStr(v), EVariantTypeCastError);
}

TEST(SqlTimStTest, CompareFieldByField) {
  const struct {
    TSQLTimeStamp A, B;
    int Expected;
  } cases[] = {
      {{2024, 3, 5, 9, 0, 0, 0}, {2024, 3, 5, 9, 0, 0, 0}, 0},
      {{2024, 3, 5, 9, 0, 0, 1}, {2024, 3, 5, 9, 0, 0, 0}, 1},
      {{2023, 12, 31, 23, 59, 59, 999}, {2024, 1, 1, 0, 0, 0, 0}, -1},
      {{-1, 1, 1, 0, 0, 0, 0}, {1, 1, 1, 0, 0, 0, 0}, -1},  // the year is signed
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareSQLTimeStamps(c.A, c.B), c.Expected);
    EXPECT_EQ(CompareSQLTimeStamps(c.B, c.A), -c.Expected);
  }
}

TEST(SqlTimStTest, TextAndVariantKind) {
  TFormatSettingsPin pin(TFormatSettings::English());
  TSQLTimeStamp stamp = StrToSQLTimeStamp("3/5/2024 6:30:00 PM");
  EXPECT_EQ(stamp, (TSQLTimeStamp{2024, 3, 5, 18, 30, 0, 0}));
  EXPECT_EQ(SQLTimeStampToStr(stamp), "3/5/2024 6:30:00 PM");
  EXPECT_EQ(SQLTimeStampToStr(TSQLTimeStamp{2024, 3, 5, 0, 0, 0, 0}), "3/5/2024");
  EXPECT_THROW(StrToSQLTimeStamp("soon"), EConvertError);

  Variant v = VarSQLTimeStampCreate(stamp);
  EXPECT_TRUE(VarIsSQLTimeStamp(v));
  EXPECT_EQ(VarType(v), VarSQLTimeStamp());
  TDateTime expected = EncodeDate(2024, 3, 5) + EncodeTime(18, 30, 0, 0);
  EXPECT_DOUBLE_EQ(v.AsDateTime(), expected);
  EXPECT_DOUBLE_EQ(v.AsDouble(), expected);
  EXPECT_EQ(v.AsCurrency().Value, Currency::FromDouble(expected).Value);
  EXPECT_EQ(VarToStr(v), "3/5/2024 6:30:00 PM");
  EXPECT_EQ(VarToSQLTimeStamp(Variant("3/5/2024 6:30:00 PM")), stamp);
  EXPECT_EQ(VarToSQLTimeStamp(VarFromDateTime(expected)), stamp);
  EXPECT_THROW(VarToSQLTimeStamp(Null()), EVariantTypeCastError);
}

}  // namespace
