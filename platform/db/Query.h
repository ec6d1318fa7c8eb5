// TQuery: an in-memory table whose SQL is a condition on its rows, in the
// filter language (FilterExpression.h) with ":name" references to Params.
// Opening shows the rows that meet the condition with the parameters' values
// then; changing a parameter shows nothing new until the query is opened
// again. A DataSource gives parameters the values of the master's fields of
// the same names, and the query opens again whenever the master's record
// changes. Rows are added and kept as in TADODataSet.
#pragma once

#include <memory>
#include <string>

#include "platform/db/ADODataSet.h"
#include "platform/db/Params.h"

class TStringList;

class TQuery : public TCustomADODataSet {
  VXN_DECLARE_CLASS(TQuery)

 public:
  explicit TQuery(TComponent* AOwner);
  ~TQuery() override;

  TStrings* SQL() const;
  void SetSQL(TStrings* Value);
  TParams* Params() const { return Params_.get(); }
  void SetParams(TParams* Value);
  TParam* ParamByName(std::string_view Name) const { return Params_->ParamByName(Name); }
  Integer ParamCount() const { return Params_->Count(); }
  // Whether changing SQL makes the parameter list anew from the text.
  bool ParamCheck = true;
  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* Value);
  TDataSource* GetDataSource() const override { return DataSource() ? DataSource() : MasterSource(); }

 protected:
  void InternalOpen() override;
  bool RowPasses(TMemRow& Row) override;
  void PrepareRowConditions() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  class TParamLink;
  friend class TParamLink;
  void SQLChanged(TObject* Sender);
  void ParamsFromMaster();
  void RefreshParams();

  std::unique_ptr<TStringList> SQL_;
  std::unique_ptr<TParams> Params_;
  std::unique_ptr<TParamLink> ParamLink_;
  std::unique_ptr<TFilterExpression> Condition_;
};
