#include "platform/rtl/System.h"

#include <gtest/gtest.h>

namespace {

class TAnimal : public TObject {
  VXN_DECLARE_CLASS(TAnimal)
};
class TDog : public TAnimal {
  VXN_DECLARE_CLASS(TDog)
};

}  // namespace

VXN_IMPLEMENT_CLASS(TAnimal, TObject)
VXN_IMPLEMENT_CREATABLE_CLASS(TDog, TAnimal)

TEST(TObjectTest, ClassReferencesWalkTheAncestry) {
  TDog dog;
  EXPECT_EQ(dog.ClassName(), "TDog");
  EXPECT_EQ(dog.ClassParent(), TAnimal::StaticClass());
  EXPECT_TRUE(dog.InheritsFrom(TObject::StaticClass()));
  EXPECT_FALSE(TAnimal().InheritsFrom(TDog::StaticClass()));
  EXPECT_EQ(TAnimal::StaticClass()->Factory, nullptr);
  TObject* made = TDog::StaticClass()->Factory();
  EXPECT_EQ(made->ClassType(), TDog::StaticClass());
  FreeAndNil(made);
  EXPECT_EQ(made, nullptr);
}

TEST(BasicTypesTest, RectAndCurrency) {
  EXPECT_EQ(Bounds(10, 20, 30, 40), Rect(10, 20, 40, 60));
  EXPECT_EQ(Rect(1, 2, 5, 9).Width(), 4);
  EXPECT_EQ(Currency::FromDouble(1.23456).Value, 12346);
  EXPECT_EQ(Currency::FromDouble(-0.00005).Value, -1);
}
