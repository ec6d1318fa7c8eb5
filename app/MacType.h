// The model table and the band table, and the routines that make a model and
// band current. Both tables are filled once at start and never change.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/AllClass.h"

class TStrings;

// One radio model variant.
class TMacType : public TObject {
  VXN_DECLARE_CLASS(TMacType)

 public:
  TMacType(std::string modelCode, std::string modelName, Integer channelCount, Integer sideKeys);

  void AddBand(const std::string& text);
  void SetDefaultBand(const std::string& text);
  void SetLimits(Double maxMHz, Double minMHz);
  bool AcceptsBand(const std::string& text) const;

  std::string ModelCode;
  std::string ModelName;
  Integer ChannelCount = 0;
  Integer SideKeys = 0;
  Double MaxMHz = 0.0;
  Double MinMHz = 0.0;
  std::vector<std::string> Bands;  // in the order added
  std::string DefaultBand;
};

// The model variants in registration order; codes repeat, and every look-up
// returns the first match.
class TMacList : public TObject {
  VXN_DECLARE_CLASS(TMacList)

 public:
  void AddModel(std::unique_ptr<TMacType> model);
  Integer Count() const { return static_cast<Integer>(models_.size()); }
  // nil beyond the last position (and for a negative one).
  TMacType* ModelAt(Integer i) const;
  TMacType* FindByName(const std::string& name) const;
  // 0 for an unknown code: the program's test of whether a code is known.
  Integer ChannelCountOfCode(const std::string& code) const;
  TMacType* FindByCodeAndBand(const std::string& code, const std::string& bandText) const;
  // Clears the list and appends every model name in table order.
  void ListNames(TStrings& strings) const;

 private:
  std::vector<std::unique_ptr<TMacType>> models_;
};

// The band texts with their one-byte band codes, in registration order.
class TFrqList : public TObject {
  VXN_DECLARE_CLASS(TFrqList)

 public:
  void AddBandCode(const std::string& text, Integer code);
  Integer Count() const { return static_cast<Integer>(bands_.size()); }
  // The code of the first entry with exactly this text; else the code at position 0.
  Integer CodeOf(const std::string& text) const;
  // The text of the first entry with this code; else the text at position 10.
  std::string TextOf(Integer code) const;

 private:
  struct TBand {
    std::string Text;
    Integer Code;
  };
  std::vector<TBand> bands_;
};

extern TMacList* MacList;
extern TFrqList* FrqList;

// Fills the model table and sets the window title, the serial-number switch
// and the link speed.
void RegisterModels();

// Makes a model and band current (see the windows' and sessions' callers):
// the model of the code that accepts the band of the band code; with the
// band override, the band text and limits follow the band code whether or not
// such a model exists.
void SelectModel(const std::string& code, Integer bandCode, bool bandOverride);

// " 27 -  72MHz" -> 27.0 and 72.0; EConvertError for a text that is no band text.
void ParseBandLimits(const std::string& text, Double& low, Double& high);
