#pragma once
// Parameter fields held in memory with the editor's text rules, so that the
// field logic can be tried without controls.
#include "alerts/pages/AlertParamFields.h"
#include "platform/Format.h"

#include <map>
#include <string>

class MemoryParamFields : public TParamFieldAccess {
public:
  struct Field {
    TParamControlKind kind = TParamControlKind::Label;
    std::string value;
    int items = 0;
    bool visible = true;
    bool enabled = true;
  };

  explicit MemoryParamFields(int alertType) {
    for (const TParamFieldSpec &spec : ParamFieldSpecs(alertType)) {
      Field f;
      f.kind = spec.Kind;
      f.items = int(spec.Items.size());
      switch (spec.Kind) {
      case TParamControlKind::RadioButton:
      case TParamControlKind::CheckBox:
        f.value = "0";
        break;
      case TParamControlKind::ComboBox:
        f.value = "-1";
        break;
      case TParamControlKind::UpDown:
        f.value = "0";
        break;
      default:
        break;
      }
      fields[spec.Tag] = f;
    }
  }

  std::string GetField(int tag) const override {
    auto it = fields.find(tag);
    if (it == fields.end() || it->second.kind == TParamControlKind::Label)
      return "";
    return it->second.value;
  }

  void SetField(int tag, const std::string &text) override {
    auto it = fields.find(tag);
    if (it == fields.end())
      return;
    Field &f = it->second;
    if (text == "VIS" || text == "INV") {
      f.visible = text == "VIS";
      return;
    }
    if (text == "DIS" || text == "ENA") {
      f.enabled = text == "ENA";
      return;
    }
    switch (f.kind) {
    case TParamControlKind::Edit:
      f.value = text;
      break;
    case TParamControlKind::UpDown:
      f.value = IntToStr(StrToIntDef(text, 0));
      break;
    case TParamControlKind::ComboBox: {
      const auto index = Round(StrToFloatDef(text, -1));
      f.value = IntToStr(index >= 0 && index < f.items ? index : -1);
      break;
    }
    case TParamControlKind::RadioButton:
      if (text == "1")
        for (auto &[otherTag, other] : fields)
          if (other.kind == TParamControlKind::RadioButton)
            other.value = "0";
      f.value = text == "1" ? "1" : "0";
      break;
    case TParamControlKind::CheckBox:
      f.value = text == "1" ? "1" : "0";
      break;
    case TParamControlKind::Label:
      break;
    }
  }

  std::map<int, Field> fields;
};
