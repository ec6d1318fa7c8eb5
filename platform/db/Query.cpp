#include "platform/db/Query.h"

#include "platform/db/DbConsts.h"
#include "platform/db/Field.h"
#include "platform/db/FilterExpression.h"
#include "platform/db/DataSource.h"
#include "platform/db/MemTable.h"
#include "platform/db/PublishDataSet.h"
#include "platform/rtl/Classes.h"

// Follows the master whose fields give the parameters their values.
class TQuery::TParamLink : public TDataLink {
 public:
  explicit TParamLink(TQuery* Query) : Query_(Query) {}

 protected:
  void ActiveChanged() override {
    if (Active()) Query_->RefreshParams();
  }
  void CheckBrowseMode() override {
    if (Query_->Active()) Query_->CheckBrowseMode();
  }
  void RecordChanged(TField* Field) override {
    if (!Field) Query_->RefreshParams();
  }

 private:
  TQuery* Query_;
};

VXN_IMPLEMENT_CREATABLE_CLASS(TQuery, TCustomADODataSet)

VXN_PUBLISH(TQuery) {
  PublishDataSetProperties(P);
  P.Property("DataSource", &TQuery::DataSource, &TQuery::SetDataSource);
  P.Property("ParamCheck", &TQuery::ParamCheck).Default(true);
  P.Property("SQL", &TQuery::SQL, &TQuery::SetSQL);
  P.Property("Params", &TQuery::Params, &TQuery::SetParams);
  PublishDataSetEvents(P);
}

TQuery::TQuery(TComponent* AOwner)
    : TCustomADODataSet(AOwner),
      SQL_(std::make_unique<TStringList>()),
      Params_(std::make_unique<TParams>(this)),
      ParamLink_(std::make_unique<TParamLink>(this)) {
  SQL_->OnChange = TNotifyEvent(this, &TQuery::SQLChanged);
}

TQuery::~TQuery() {
  CloseForDestruction();
  SQL_->OnChange = nullptr;
}

TStrings* TQuery::SQL() const { return SQL_.get(); }

void TQuery::SetSQL(TStrings* Value) { SQL_->Assign(Value); }

void TQuery::SetParams(TParams* Value) {
  if (Value && Value != Params_.get()) Params_->AssignValues(*Value);
}

void TQuery::SQLChanged(TObject*) {
  if (Active()) Close();
  if (ParamCheck) Params_->ParseSQL(SQL_->Text(), true);
}

TDataSource* TQuery::DataSource() const { return ParamLink_->DataSource(); }

void TQuery::SetDataSource(TDataSource* Value) {
  if (Value == DataSource()) return;
  if (Value && IsLinkedTo(Value)) DatabaseError(SCircularDataLink, this);
  if (TDataSource* old = DataSource()) RemoveFreeNotification(old);
  ParamLink_->SetDataSource(Value);
  if (Value) Value->FreeNotification(this);
}

void TQuery::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomADODataSet::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == DataSource()) ParamLink_->SetDataSource(nullptr);
}

void TQuery::ParamsFromMaster() {
  TDataSet* master = ParamLink_->Active() ? ParamLink_->DataSet() : nullptr;
  if (!master) return;
  for (Integer i = 0; i < Params_->Count(); ++i) {
    TParam* p = Params_->Items(i);
    if (TField* f = master->FindField(p->Name())) p->AssignFieldValue(f, f->Value());
  }
}

void TQuery::RefreshParams() {
  if (!Active() || ComponentState().Contains(csDestroying)) return;
  TDataSet* master = ParamLink_->DataSet();
  bool changed = false;
  for (Integer i = 0; i < Params_->Count() && !changed; ++i) {
    TParam* p = Params_->Items(i);
    if (TField* f = master ? master->FindField(p->Name()) : nullptr) changed = !FieldValuesEqual(p->Value(), f->Value());
  }
  if (!changed) return;
  DisableControls();
  try {
    Close();
    Open();
  } catch (...) {
    EnableControls();
    throw;
  }
  EnableControls();
}

void TQuery::InternalOpen() {
  ParamsFromMaster();
  TCustomADODataSet::InternalOpen();
}

void TQuery::PrepareRowConditions() {
  TCustomADODataSet::PrepareRowConditions();
  Condition_.reset();
  std::string text = Trim(SQL_->Text());
  if (text.empty()) return;
  TParams* params = Params_.get();
  Condition_ = std::make_unique<TFilterExpression>(
      *this, text, TFilterOptions(), TExprParserMode::Query, [params](std::string_view Name, Variant& Value) {
        TParam* p = params->FindParam(Name);
        if (!p) return false;
        Value = p->Value();
        return true;
      });
}

bool TQuery::RowPasses(TMemRow& Row) {
  if (Condition_ && !Condition_->Evaluate(Row.Values)) return false;
  return TCustomADODataSet::RowPasses(Row);
}
