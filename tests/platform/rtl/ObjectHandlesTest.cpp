#include "platform/rtl/ObjectHandles.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/rtl/SysUtils.h"

namespace {

class TThing : public TObject {
  VXN_DECLARE_CLASS(TThing)
};
class TSubThing : public TThing {
  VXN_DECLARE_CLASS(TSubThing)
};
class TOtherThing : public TObject {
  VXN_DECLARE_CLASS(TOtherThing)
};

}  // namespace

VXN_IMPLEMENT_CLASS(TThing, TObject)
VXN_IMPLEMENT_CLASS(TSubThing, TThing)
VXN_IMPLEMENT_CLASS(TOtherThing, TObject)

namespace {

TEST(ObjectHandlesTest, AnObjectKeepsOneHandleForLife) {
  auto thing = std::make_unique<TThing>();
  auto other = std::make_unique<TThing>();
  Integer handle = ObjectToHandle(thing.get());
  EXPECT_GT(handle, 0);
  EXPECT_EQ(ObjectToHandle(thing.get()), handle);
  EXPECT_NE(ObjectToHandle(other.get()), handle);
  EXPECT_EQ(ObjectToHandle(nullptr), 0);
  EXPECT_EQ(HandleToObject(handle), thing.get());
  EXPECT_EQ(HandleToObject(0), nullptr);
  EXPECT_TRUE(IsLiveObjectHandle(handle));
  EXPECT_FALSE(IsLiveObjectHandle(0));
}

TEST(ObjectHandlesTest, ClassIsChecked) {
  auto sub = std::make_unique<TSubThing>();
  Integer handle = ObjectToHandle(sub.get());
  EXPECT_EQ(HandleToObject(handle, TThing::StaticClass()), sub.get());
  EXPECT_EQ(HandleToObject<TSubThing>(handle), sub.get());
  EXPECT_EQ(HandleToObject<TObject>(handle), sub.get());
  try {
    HandleToObject<TOtherThing>(handle);
    FAIL() << "wrong class accepted";
  } catch (const EInvalidCast& e) {
    EXPECT_NE(e.Message.find("TSubThing"), std::string::npos) << e.Message;
    EXPECT_NE(e.Message.find("TOtherThing"), std::string::npos) << e.Message;
  }
}

TEST(ObjectHandlesTest, HandleOfAFreedObjectIsRefusedAndNeverReused) {
  auto* thing = new TThing;
  Integer handle = ObjectToHandle(thing);
  thing->Free();
  EXPECT_FALSE(IsLiveObjectHandle(handle));
  EXPECT_THROW(HandleToObject(handle), EInvalidPointer);
  EXPECT_THROW(HandleToObject<TThing>(handle), EInvalidPointer);
  // A new object, perhaps at the same address, gets a new handle; the old
  // one stays dead.
  auto next = std::make_unique<TThing>();
  EXPECT_NE(ObjectToHandle(next.get()), handle);
  EXPECT_THROW(HandleToObject(handle), EInvalidPointer);
  EXPECT_THROW(HandleToObject(-5), EInvalidPointer);
}

TEST(ObjectHandlesTest, ObjectsTravelInVariantsAsIntegers) {
  auto thing = std::make_unique<TThing>();
  Variant v = VarFromObject(thing.get());
  EXPECT_EQ(VarType(v), varInteger);
  EXPECT_EQ(VarToStr(v), std::to_string(ObjectToHandle(thing.get())));
  EXPECT_EQ(VarToObject(v), thing.get());
  EXPECT_EQ(VarToObject<TThing>(v), thing.get());
  EXPECT_THROW(VarToObject<TOtherThing>(v), EInvalidCast);
  // Nil in every form.
  EXPECT_EQ(VarType(VarFromObject(nullptr)), varInteger);
  EXPECT_EQ(VarToObject(VarFromObject(nullptr)), nullptr);
  EXPECT_EQ(VarToObject(Null()), nullptr);
  EXPECT_EQ(VarToObject(Variant()), nullptr);
  // A handle that went through text (a script's string) still resolves.
  EXPECT_EQ(VarToObject(Variant(VarToStr(v))), thing.get());
  EXPECT_THROW(VarToObject(Variant("not a handle")), EVariantTypeCastError);
  Integer handle = v.AsInteger();
  thing.reset();
  EXPECT_THROW(VarToObject(Variant(handle)), EInvalidPointer);
}

}  // namespace
