// Events: method pointers bound to their object ("procedure of object").
//
// A TDelegate<R(A...)> holds an object and one of its member functions (or a
// plain function with no object). It is nullable (Assigned), comparable
// (same object and same method), copyable, and calling an unassigned
// delegate does nothing and returns R{} — callers still test Assigned where
// the class library does, but a missed test cannot crash.
//
//   class TForm1 : public TForm { public: void btnOkClick(TObject* Sender); };
//   btnOk->OnClick = TNotifyEvent(form, &TForm1::btnOkClick);
//   if (btnOk->OnClick) btnOk->OnClick(btnOk);
//
// TMethod is the signature-erased form the type registry and the component
// streams move around; it remembers its signature so that an event can only
// take a handler of the same signature.
#pragma once

#include <cstring>
#include <type_traits>
#include <typeinfo>

class TObject;

struct TMethod {
  void* Data = nullptr;                     // the bound object (nil for a plain function)
  void (*Thunk)() = nullptr;                // typed caller, erased
  alignas(void*) unsigned char Code[2 * sizeof(void*)] = {};  // the member-function pointer
  const std::type_info* Signature = nullptr;

  bool Assigned() const { return Thunk != nullptr; }
  friend bool operator==(const TMethod& a, const TMethod& b) {
    if (!a.Assigned() || !b.Assigned()) return a.Assigned() == b.Assigned();
    return a.Data == b.Data && a.Thunk == b.Thunk && std::memcmp(a.Code, b.Code, sizeof a.Code) == 0;
  }
};

template <typename Signature>
class TDelegate;

template <typename R, typename... A>
class TDelegate<R(A...)> {
 public:
  using SignatureType = R(A...);

  TDelegate() = default;
  TDelegate(std::nullptr_t) {}

  // Bound to obj's member function m (m may belong to a base of C).
  template <typename C, typename M>
    requires std::is_member_function_pointer_v<M>
  TDelegate(C* obj, M method) {
    static_assert(sizeof(M) <= sizeof(Method_.Code), "member-function pointer too large");
    Method_.Data = static_cast<void*>(obj);
    std::memcpy(Method_.Code, &method, sizeof(M));
    Method_.Thunk = reinterpret_cast<void (*)()>(&CallMember<C, M>);
    Method_.Signature = &typeid(SignatureType);
  }

  // A plain function (or a lambda without captures) with no object.
  TDelegate(R (*function)(A...)) {
    if (!function) return;
    std::memcpy(Method_.Code, &function, sizeof function);
    Method_.Thunk = reinterpret_cast<void (*)()>(&CallFunction);
    Method_.Signature = &typeid(SignatureType);
  }

  // From the erased form; a method of another signature gives an unassigned
  // delegate (check with FitsMethod first where that matters).
  static TDelegate FromMethod(const TMethod& m) {
    TDelegate d;
    if (FitsMethod(m)) d.Method_ = m;
    return d;
  }
  static bool FitsMethod(const TMethod& m) {
    return !m.Assigned() || (m.Signature && *m.Signature == typeid(SignatureType));
  }
  const TMethod& AsMethod() const { return Method_; }

  bool Assigned() const { return Method_.Assigned(); }
  explicit operator bool() const { return Assigned(); }
  void* Object() const { return Method_.Data; }

  R operator()(A... args) const {
    if (!Method_.Assigned()) {
      if constexpr (std::is_void_v<R>)
        return;
      else
        return R{};
    }
    auto thunk = reinterpret_cast<R (*)(const TMethod&, A...)>(Method_.Thunk);
    return thunk(Method_, std::forward<A>(args)...);
  }

  friend bool operator==(const TDelegate& a, const TDelegate& b) { return a.Method_ == b.Method_; }
  friend bool operator==(const TDelegate& a, std::nullptr_t) { return !a.Assigned(); }

 private:
  template <typename C, typename M>
  static R CallMember(const TMethod& m, A... args) {
    M method;
    std::memcpy(&method, m.Code, sizeof(M));
    return (static_cast<C*>(m.Data)->*method)(std::forward<A>(args)...);
  }
  static R CallFunction(const TMethod& m, A... args) {
    R (*function)(A...);
    std::memcpy(&function, m.Code, sizeof function);
    return function(std::forward<A>(args)...);
  }

  TMethod Method_;
};

// The event of most components: something happened to Sender.
using TNotifyEvent = TDelegate<void(TObject* Sender)>;
