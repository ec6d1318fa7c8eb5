// Where an editor's properties take the values nobody assigned: a data
// binding supplies a provider that answers from its field; the base answers
// the plain defaults. A provider that dies releases itself from every live
// properties object first, so none keeps a dangling provider.
#pragma once

#include <string>

#include "platform/forms/StaticCtrls.h"
#include "suite/foundation/cxClasses.h"

class IcxEditDefaultValuesProvider {
 public:
  static constexpr TGUID IID = GUID("{AE727882-6FDF-4E3A-AB35-E58AB28EFE7B}");
  virtual ~IcxEditDefaultValuesProvider() = default;

  // Every live properties object that uses this provider drops it.
  virtual void ReleaseFromProperties() = 0;
  virtual TAlignment DefaultAlignment() = 0;
  virtual Integer DefaultBlobKind() = 0;
  virtual bool DefaultCanModify() = 0;
  virtual std::string DefaultDisplayFormat() = 0;
  virtual std::string DefaultEditFormat() = 0;
  virtual std::string DefaultEditMask() = 0;
  virtual bool DefaultIsFloatValue() = 0;
  virtual Integer DefaultMaxLength() = 0;
  virtual Extended DefaultMaxValue() = 0;
  virtual Extended DefaultMinValue() = 0;
  virtual Integer DefaultPrecision() = 0;
  virtual bool DefaultReadOnly() = 0;
  virtual bool DefaultRequired() = 0;
  virtual TObject* ProviderObject() = 0;
  virtual bool IsDataAware() = 0;
  virtual bool IsBlobData() = 0;
  virtual bool DefaultIsCurrency() = 0;
  virtual bool IsDataAvailable() = 0;
  virtual bool DefinesDisplayFormat(bool IncludeCurrency) = 0;
  virtual bool DefinesEditFormat() = 0;
  virtual bool AcceptsTypedChar(char32_t Ch) = 0;
};

// The horizontal alignment of an editor whose properties and provider say
// nothing.
inline constexpr TAlignment cxEditDefaultHorzAlignment = taLeftJustify;

class TcxCustomEditDefaultValuesProvider : public TcxInterfacedPersistent, public IcxEditDefaultValuesProvider {
  VXN_DECLARE_CLASS(TcxCustomEditDefaultValuesProvider)

 public:
  explicit TcxCustomEditDefaultValuesProvider(TPersistent* AOwner) : TcxInterfacedPersistent(AOwner) {}
  ~TcxCustomEditDefaultValuesProvider() override;

  void ReleaseFromProperties() override;
  TObject* ProviderObject() override { return this; }

  TAlignment DefaultAlignment() override { return cxEditDefaultHorzAlignment; }
  Integer DefaultBlobKind() override { return 3; }
  bool DefaultCanModify() override { return true; }
  std::string DefaultDisplayFormat() override { return {}; }
  std::string DefaultEditFormat() override { return {}; }
  std::string DefaultEditMask() override { return {}; }
  bool DefaultIsFloatValue() override { return false; }
  Integer DefaultMaxLength() override { return 0; }
  Extended DefaultMaxValue() override { return 0.0; }
  Extended DefaultMinValue() override { return 0.0; }
  Integer DefaultPrecision() override { return 15; }
  bool DefaultReadOnly() override { return false; }
  bool DefaultRequired() override { return false; }
  bool IsBlobData() override { return false; }
  bool DefaultIsCurrency() override { return false; }
  bool IsDataAvailable() override { return true; }
  bool IsDataAware() override { return false; }
  bool DefinesDisplayFormat(bool IncludeCurrency) override {
    (void)IncludeCurrency;
    return false;
  }
  bool DefinesEditFormat() override { return false; }
  bool AcceptsTypedChar(char32_t Ch) override {
    (void)Ch;
    return true;
  }
};
