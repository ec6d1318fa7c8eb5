// Field definitions: the structure of a data set's records (name, type,
// size, attributes), from which the data set makes its default fields.
#pragma once

#include <memory>
#include <string>

#include "platform/db/DataSetTypes.h"
#include "platform/rtl/Components.h"

class TDataSet;
class TField;
class TFieldDefs;

class TFieldDef : public TCollectionItem {
  VXN_DECLARE_CLASS(TFieldDef)

 public:
  using TOwnerClass = TCollection;
  explicit TFieldDef(TCollection* Collection);
  ~TFieldDef() override;

  const std::string& Name() const { return Name_; }
  void SetName(const std::string& Value);
  TFieldType DataType() const { return DataType_; }
  void SetDataType(TFieldType Value);
  Integer Size() const { return Size_; }
  void SetSize(Integer Value);
  Integer Precision() const { return Precision_; }
  void SetPrecision(Integer Value);
  TFieldAttributes Attributes() const { return Attributes_; }
  void SetAttributes(TFieldAttributes Value);
  bool Required() const { return Attributes_.Contains(faRequired); }
  void SetRequired(bool Value);
  // 1-based position among the data set's definitions.
  Integer FieldNo() const { return Index() + 1; }
  std::string DisplayName() override { return Name_; }
  // The definitions of a nested data set's records (ftDataSet).
  TFieldDefs& ChildDefs();
  bool HasChildDefs() const;
  // The field class for the type; nil for a type without one.
  TClass FieldClass() const;
  // Creates a field of FieldClass for this definition, owned by Owner and
  // placed in ADataSet ("Field '%s' is of an unknown type" without a class).
  TField* CreateField(TComponent* Owner, TDataSet* ADataSet);
  void Assign(TPersistent* Source) override;

 private:
  std::string Name_;
  TFieldType DataType_ = ftUnknown;
  Integer Size_ = 0;
  Integer Precision_ = 0;
  TFieldAttributes Attributes_;
  std::unique_ptr<TFieldDefs> ChildDefs_;
};

class TFieldDefs : public TOwnedCollection {
  VXN_DECLARE_CLASS(TFieldDefs)

 public:
  explicit TFieldDefs(TPersistent* AOwner);

  TFieldDef* Items(Integer Index) const { return static_cast<TFieldDef*>(TCollection::Items(Index)); }
  TFieldDef* operator[](Integer Index) const { return Items(Index); }
  TFieldDef* AddFieldDef() { return static_cast<TFieldDef*>(TCollection::Add()); }
  // "Duplicate field name '%s'" for a name already there; refused while the
  // data set is open.
  TFieldDef* Add(const std::string& Name, TFieldType DataType, Integer Size = 0, bool Required = false);
  // Case-insensitive; -1 / nil when absent.
  Integer IndexOf(std::string_view Name) const;
  TFieldDef* FindDef(std::string_view Name) const;
  // "Field '%s' not found" when absent.
  TFieldDef* Find(std::string_view Name) const;
  // The data set of these definitions (of the top data set for child defs).
  TDataSet* DataSet() const { return DataSet_; }
  // Brings the definitions up to date with the data set.
  void Update();
  bool Updated = false;

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  friend class TFieldDef;
  TDataSet* DataSet_ = nullptr;
};

// The field class the library makes for a field type (nil for none).
TClass DefaultFieldClass(TFieldType Type);
