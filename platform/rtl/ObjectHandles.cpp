#include "platform/rtl/ObjectHandles.h"

#include <limits>
#include <mutex>
#include <unordered_map>

namespace {

// Objects may be freed on any thread (the serial workers own some), so the
// table is guarded.
struct Registry {
  std::mutex Lock;
  std::unordered_map<Integer, const TObject*> Objects;
  Integer LastHandle = 0;
};

Registry& TheRegistry() {
  // Never destroyed: objects freed during static destruction still unregister.
  static Registry* registry = new Registry;
  return *registry;
}

}  // namespace

Integer ObjectHandleSlot::Acquire(const TObject* object) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.Lock);
  if (object->FObjectHandle != 0) return object->FObjectHandle;
  // Handles are not reused; running out would take two billion objects.
  if (r.LastHandle == std::numeric_limits<Integer>::max())
    throw EOutOfResources("No object handles left");
  Integer handle = ++r.LastHandle;
  r.Objects.emplace(handle, object);
  object->FObjectHandle = handle;
  return handle;
}

void ObjectHandleSlot::Release(Integer handle) noexcept {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.Lock);
  r.Objects.erase(handle);
}

Integer ObjectToHandle(const TObject* object) {
  if (!object) return 0;
  return ObjectHandleSlot::Acquire(object);
}

bool IsLiveObjectHandle(Integer handle) {
  if (handle == 0) return false;
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.Lock);
  return r.Objects.count(handle) != 0;
}

TObject* HandleToObject(Integer handle, TClass expected) {
  if (handle == 0) return nullptr;
  const TObject* object = nullptr;
  {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.Lock);
    auto it = r.Objects.find(handle);
    if (it != r.Objects.end()) object = it->second;
  }
  if (!object) throw EInvalidPointer(Format("Object handle %d does not refer to a live object", {handle}));
  if (expected && !object->InheritsFrom(expected))
    throw EInvalidCast(Format("Object handle %d refers to a %s, not a %s",
                              {handle, object->ClassName(), std::string(expected->Name)}));
  return const_cast<TObject*>(object);
}

Variant VarFromObject(const TObject* object) { return Variant(ObjectToHandle(object)); }

TObject* VarToObject(const Variant& v, TClass expected) {
  if (VarIsClear(v)) return nullptr;
  return HandleToObject(v.AsInteger(), expected);
}
