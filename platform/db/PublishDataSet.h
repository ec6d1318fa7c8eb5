// The published properties and events that the in-memory data set classes
// share, in one place for their publishing tables.
#pragma once

#include "platform/db/ADODataSet.h"
#include "platform/db/FieldDefs.h"
#include "platform/rtl/TypInfo.h"

template <typename T>
void PublishDataSetProperties(TPublisher<T>& P) {
  P.Property("Active", &T::Active, &T::SetActive).Default(false);
  P.Property("AutoCalcFields", static_cast<bool T::*>(&T::AutoCalcFields)).Default(true);
  P.Property("CursorType", &T::CursorType, &T::SetCursorType).Default(ctKeyset);
  P.Property("FieldDefs", [](T& d) { return &d.FieldDefs(); }, nullptr).Stored(&T::IsFieldDefsStored);
  P.Property("Filter", &T::Filter, &T::SetFilter);
  P.Property("Filtered", &T::Filtered, &T::SetFiltered).Default(false);
  P.Property("FilterOptions", &T::FilterOptions, &T::SetFilterOptions).Default(0);
  P.Property("LockType", &T::LockType, &T::SetLockType).Default(ltOptimistic);
  P.Property("ReadOnly", &T::ReadOnly, &T::SetReadOnly).Default(false);
  P.Property("StoreDefs", &T::StoreDefs, &T::SetStoreDefs).Default(false);
}

template <typename T>
void PublishDataSetEvents(TPublisher<T>& P) {
  using E = TDataSetNotifyEvent T::*;
  P.Event("AfterCancel", static_cast<E>(&T::AfterCancel));
  P.Event("AfterClose", static_cast<E>(&T::AfterClose));
  P.Event("AfterDelete", static_cast<E>(&T::AfterDelete));
  P.Event("AfterEdit", static_cast<E>(&T::AfterEdit));
  P.Event("AfterInsert", static_cast<E>(&T::AfterInsert));
  P.Event("AfterOpen", static_cast<E>(&T::AfterOpen));
  P.Event("AfterPost", static_cast<E>(&T::AfterPost));
  P.Event("AfterRefresh", static_cast<E>(&T::AfterRefresh));
  P.Event("AfterScroll", static_cast<E>(&T::AfterScroll));
  P.Event("BeforeCancel", static_cast<E>(&T::BeforeCancel));
  P.Event("BeforeClose", static_cast<E>(&T::BeforeClose));
  P.Event("BeforeDelete", static_cast<E>(&T::BeforeDelete));
  P.Event("BeforeEdit", static_cast<E>(&T::BeforeEdit));
  P.Event("BeforeInsert", static_cast<E>(&T::BeforeInsert));
  P.Event("BeforeOpen", static_cast<E>(&T::BeforeOpen));
  P.Event("BeforePost", static_cast<E>(&T::BeforePost));
  P.Event("BeforeRefresh", static_cast<E>(&T::BeforeRefresh));
  P.Event("BeforeScroll", static_cast<E>(&T::BeforeScroll));
  P.Event("OnCalcFields", static_cast<E>(&T::OnCalcFields));
  using Err = TDataSetErrorEvent T::*;
  P.Event("OnDeleteError", static_cast<Err>(&T::OnDeleteError));
  P.Event("OnEditError", static_cast<Err>(&T::OnEditError));
  P.Event("OnFilterRecord", &T::OnFilterRecord, &T::SetOnFilterRecord);
  P.Event("OnNewRecord", static_cast<E>(&T::OnNewRecord));
  P.Event("OnPostError", static_cast<Err>(&T::OnPostError));
}
