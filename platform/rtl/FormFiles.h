// Text form files: the readable twin of the binary component stream, kept
// beside each form or data-module module and compiled in as a resource.
//
//   object fMain: TfMain                  (inherited / inline instead of object)
//     Left = 192                          integer
//     Ratio = 0.25                        float; suffix s single, c currency, d date
//     Caption = 'It''s'#13#10 +           string: quoted parts, #nn codes, + joins lines
//       'next line'
//     Color = clBtnFace                   identifier: enumerations, Booleans, colours,
//     OnClick = btnOkClick                  handlers, component references ("Form2.Edit1")
//     Anchors = [akLeft, akTop]           set
//     Items.Strings = (                   list
//       'a'
//       'b')
//     Columns = <                         collection
//       item
//         Width = 40
//       end>
//     Glyph.Data = {                      binary (DefineProperties values)
//       0A0B0C}
//     object btnOk: TButton               children nest by parent; the root owns all
//     end
//   end
//
// The text converts to the binary stream and back (ObjectTextToBinary,
// ObjectBinaryToText); reading a form goes text -> binary -> TReader, with
// the source line of every property kept so that errors can name it.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/rtl/ComponentStreams.h"
#include "platform/rtl/Components.h"
#include "platform/rtl/SysUtils.h"

class EParserError : public Exception {
  VXN_DECLARE_CLASS(EParserError)

 public:
  using Exception::Exception;
};

// Converts form text to a binary stream. Lines receives, for each property
// and object header, the stream offset and its source line. Syntax errors
// raise EParserError "<source>(<line>): <what>".
void ObjectTextToBinary(std::string_view Text, TStream& Output, const std::string& SourceName = "",
                        std::vector<std::pair<Int64, Integer>>* Lines = nullptr);
// Converts a binary stream (from its current position) to form text.
std::string ObjectBinaryToText(TStream& Input);

// Reads form text into Root, or into a new root of the text's class when Root
// is nil; see TReader::ReadRootComponent for what happens on an error.
TComponent* ReadComponentText(std::string_view Text, TComponent* Root, const std::string& SourceName = "");
// Writes Root and its children (stored, non-default properties) as form text.
std::string WriteComponentText(TComponent* Root);

// Reads the form files of Instance's class and of its ancestors below
// RootAncestor into Instance, the base form's file first (so a derived
// form's "inherited" entries find their components). The files are the
// resources of type "FORM" named after each class. Answers whether any was
// found.
bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor);
