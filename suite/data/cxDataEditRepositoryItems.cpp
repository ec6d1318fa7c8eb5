#include "suite/data/cxDataEditRepositoryItems.h"

#include "platform/rtl/TypInfo.h"
#include "suite/data/cxValueTypes.h"

const std::vector<TcxValueTypeDefaultItem>& ValueTypeDefaultItems() {
  static const std::vector<TcxValueTypeDefaultItem> items = {
      {TcxBooleanValueType::Class(), "TcxEditRepositoryCheckBoxItem"},
      {TcxCurrencyValueType::Class(), "TcxEditRepositoryCurrencyItem"},
      {TcxDateTimeValueType::Class(), "TcxEditRepositoryDateItem"},
      {TcxFMTBcdValueType::Class(), "TcxEditRepositoryCurrencyItem"},
      {TcxSQLTimeStampValueType::Class(), "TcxEditRepositoryDateItem"},
  };
  return items;
}

void RegisterDataEditRepositoryItems() {
  FillDataRepositoryItems(GetDefaultEditDataRepositoryItems(), DefaultEditRepository(), &GetClass,
                          ValueTypeDefaultItems());
}
