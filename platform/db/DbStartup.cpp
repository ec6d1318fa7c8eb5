#include "platform/db/DbStartup.h"

#include "platform/db/ADODataSet.h"
#include "platform/db/AggregateField.h"
#include "platform/db/BlobFields.h"
#include "platform/db/DataSetField.h"
#include "platform/db/DataSource.h"
#include "platform/db/Query.h"
#include "platform/db/StdFields.h"
#include "platform/forms/FormsStartup.h"

void InitializeDb() {
  static bool done = false;
  if (done) return;
  done = true;
  InitializeForms();
  RegisterClasses({
      TDataSource::StaticClass(),
      TADODataSet::StaticClass(),
      TQuery::StaticClass(),
      TStringField::StaticClass(),
      TWideStringField::StaticClass(),
      TGuidField::StaticClass(),
      TSmallintField::StaticClass(),
      TIntegerField::StaticClass(),
      TWordField::StaticClass(),
      TAutoIncField::StaticClass(),
      TLargeintField::StaticClass(),
      TFloatField::StaticClass(),
      TCurrencyField::StaticClass(),
      TBCDField::StaticClass(),
      TFMTBCDField::StaticClass(),
      TBooleanField::StaticClass(),
      TDateField::StaticClass(),
      TTimeField::StaticClass(),
      TDateTimeField::StaticClass(),
      TSQLTimeStampField::StaticClass(),
      TVariantField::StaticClass(),
      TBytesField::StaticClass(),
      TVarBytesField::StaticClass(),
      TBlobField::StaticClass(),
      TMemoField::StaticClass(),
      TGraphicField::StaticClass(),
      TAggregateField::StaticClass(),
      TDataSetField::StaticClass(),
  });
}
