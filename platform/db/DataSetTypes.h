// The enumerations, exception and small routines that every module of the
// data-set library shares: field types, data-set states, data events, locate
// and filter options, bookmarks and ";"-separated field-name lists.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Sets.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

class TComponent;
class TFiler;
struct TPoint;

// In the class library's order: callers map ranges of it (ftBlob through
// ftCursor, ftADT through ftDataSet).
VXN_ENUM(TFieldType, ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency,
         ftBCD, ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic,
         ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString,
         ftLargeint, ftADT, ftArray, ftReference, ftDataSet, ftOraBlob, ftOraClob, ftVariant, ftInterface,
         ftIDispatch, ftGuid, ftTimeStamp, ftFMTBcd)

VXN_ENUM(TFieldKind, fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate)
using TFieldKinds = TSet<TFieldKind>;

VXN_ENUM(TDataSetState, dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields, dsFilter,
         dsNewValue, dsOldValue, dsCurValue, dsBlockRead, dsInternalCalc, dsOpening)

// The notices a data set sends to its data sources and their links; the
// numbers are the ordinals (deDisabledStateChange is 14).
VXN_ENUM(TDataEvent, deFieldChange, deRecordChange, deDataSetChange, deDataSetScroll, deLayoutChange,
         deUpdateRecord, deUpdateState, deCheckBrowseMode, dePropertyChange, deFieldListChange,
         deFocusControl, deParentScroll, deConnectChange, deReconcileError, deDisabledStateChange)

VXN_ENUM(TLocateOption, loCaseInsensitive, loPartialKey)
using TLocateOptions = TSet<TLocateOption>;

VXN_ENUM(TFilterOption, foCaseInsensitive, foNoPartialCompare)
using TFilterOptions = TSet<TFilterOption>;

VXN_ENUM(TBlobStreamMode, bmRead, bmWrite, bmReadWrite)
VXN_ENUM(TGetMode, gmCurrent, gmNext, gmPrior)
VXN_ENUM(TGetResult, grOK, grBOF, grEOF, grError)
VXN_ENUM(TBookmarkFlag, bfCurrent, bfBOF, bfEOF, bfInserted)
VXN_ENUM(TResyncModeItem, rmExact, rmCenter)
using TResyncMode = TSet<TResyncModeItem>;
VXN_ENUM(TDataAction, daFail, daAbort, daRetry)
VXN_ENUM(TFieldAttribute, faHiddenCol, faReadonly, faRequired, faLink, faUnNamed, faFixed)
using TFieldAttributes = TSet<TFieldAttribute>;
VXN_ENUM(TParamType, ptUnknown, ptInput, ptOutput, ptInputOutput, ptResult)

// The types a BLOB field may have (ftBlob .. ftOraClob in the class library).
using TBlobType = TFieldType;

// Data-set states in which field values may be written.
inline bool IsWriteState(TDataSetState s) {
  return s == dsEdit || s == dsInsert || s == dsSetKey || s == dsCalcFields || s == dsFilter ||
         s == dsNewValue || s == dsInternalCalc;
}
// Edit, insert and set-key: a record is being changed.
inline bool IsEditState(TDataSetState s) { return s == dsEdit || s == dsInsert || s == dsSetKey; }

// Bookmarks are texts: the same text names the same record for as long as
// the record lives. The empty text is no bookmark.
using TBookmark = std::string;
using TBookmarkStr = std::string;

// The error class of the data-set library.
class EDatabaseError : public Exception {
  VXN_DECLARE_CLASS(EDatabaseError)

 public:
  using Exception::Exception;
};

// Raises EDatabaseError; with a named component the text starts with
// "<Name>: ".
[[noreturn]] void DatabaseError(std::string_view Message, TComponent* Component = nullptr);
[[noreturn]] void DatabaseErrorFmt(std::string_view Format, TVarRecs Args, TComponent* Component = nullptr);

// Field-name lists: names separated by ";", each trimmed of blanks. Pos is
// 1-based and moves past the name and its separator.
std::string ExtractFieldName(std::string_view Fields, Integer& Pos);
std::vector<std::string> SplitFieldNames(std::string_view Fields);

// The type's name in messages ("String", "Integer", "DateTime", ...).
const char* FieldTypeName(TFieldType Type);

// The designer's position of a non-visual component ("Left" and "Top" in
// form files), kept so that form files written by a designer read back.
void DefineDesignPosition(TFiler* Filer, TPoint& Position);
